#!/usr/bin/env bash
# Builds and runs every test stage: native, sanitizers, Windows x86_64 under
# Wine, the i686 DLL's export table, 32-bit Linux under qemu, and the Debian
# packages installed and used on this machine (as root). Prints the
# test count and time of each stage and a closing "N passed, N failed" line.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${QUARNEL_TEST_DIR:-$root/build/stages}
jobs=${JOBS:-$(nproc)}
mkdir -p "$out"
passed=0
failed=0
summary=()

# Sums GoogleTest's own counts from a ctest log.
# Sums the counts of GoogleTest and of the scripts that print "N passed, N failed".
count() {
  { grep -ohE '\[  PASSED  \] [0-9]+ test' "$1" | awk '{print $4}'
    grep -ohE '[0-9]+ passed, [0-9]+ failed' "$1" | awk '{print $1}'; } | awk '{s += $1} END {print s + 0}'
}
failures() {
  { grep -ohE '\[  FAILED  \] [0-9]+ test' "$1" | awk '{print $4}'
    grep -ohE '[0-9]+ passed, [0-9]+ failed' "$1" | awk '{print $3}'; } | awk '{s += $1} END {print s + 0}'
}

stage() {  # stage NAME COMMAND...
  local name=$1 log="$out/$1.log" start=$SECONDS rc
  shift
  echo "=== $name"
  "$@" >"$log" 2>&1
  rc=$?
  local secs=$((SECONDS - start)) n f
  n=$(count "$log")
  f=$(failures "$log")
  if [ $rc -ne 0 ]; then
    tail -n 60 "$log"
    [ "$f" -gt 0 ] || f=1
  fi
  passed=$((passed + n))
  failed=$((failed + f))
  summary+=("$(printf '%-14s %-4s %5d tests passed %3d failed %5ds' "$name" \
    "$([ $rc -eq 0 ] && echo ok || echo FAIL)" "$n" "$f" "$secs")")
}

build_and_test() {  # build_and_test DIR CMAKE-ARGS...
  local dir=$1
  shift
  cmake -S "$root" -B "$dir" -G Ninja -DQUARNEL_WERROR=ON "$@" &&
    cmake --build "$dir" -j "$jobs" &&
    ctest --test-dir "$dir" --output-on-failure -V --timeout 900
}

windows_x64() {
  export WINEPREFIX="$out/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver -p >/dev/null 2>&1 || /usr/lib/wine/wineserver -p
  # Start the prefix's background services now, detached from ctest's pipes:
  # started by the first test instead, they would hold its output open.
  wine wineboot -u </dev/null >/dev/null 2>&1 || true
  build_and_test "$out/windows-x64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake"
  local rc=$?
  wineserver -k >/dev/null 2>&1 || /usr/lib/wine/wineserver -k
  return $rc
}

windows_i686() {
  local dir="$out/windows-i686"
  cmake -S "$root" -B "$dir" -G Ninja -DQUARNEL_WERROR=ON -DQUARNEL_BUILD_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" &&
    cmake --build "$dir" -j "$jobs" &&
    i686-w64-mingw32-objdump -p "$dir/src/Quarnel.dll" >"$dir/objdump.txt" &&
    i686-w64-mingw32-nm "$dir/src/libQuarnel.dll.a" >"$dir/nm.txt" &&
    python3 tools/check_exports.py include/quarnel/quarnel.h src/exports/Quarnel.def \
      --objdump "$dir/objdump.txt" --nm "$dir/nm.txt"
}

# The Debian packages: built, installed, used by the tool and by C and C++
# hosts, removed. The API reference is built on the way.
packages() {
  local dir="$out/packages"
  rm -f "$dir"/*.deb
  cmake -S "$root" -B "$dir" -G Ninja -DQUARNEL_WERROR=ON -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DQUARNEL_BUILD_TESTS=OFF &&
    cmake --build "$dir" -j "$jobs" &&
    cmake --build "$dir" --target docs &&
    (cd "$dir" && cpack -G DEB) &&
    tools/check_packages.sh "$dir"
}

stage native build_and_test "$out/native"
stage sanitizers build_and_test "$out/sanitizers" -DQUARNEL_SANITIZE=ON
stage windows-x64 windows_x64
stage windows-i686 windows_i686
stage linux-i386 build_and_test "$out/linux-i386" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-linux-i386.cmake"
stage packages packages

echo
printf '%s\n' "${summary[@]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
