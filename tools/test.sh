#!/usr/bin/env bash
# Builds and runs every test stage: native, sanitizers, Windows x86_64 under
# Wine, the i686 DLL's export table, and 32-bit Linux under qemu. Prints the
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

# The 32-bit DLL for real: this kind of machine cannot execute 32-bit code,
# so the i686 suite and a 32-bit C host run under Wine inside an emulated
# 32-bit Debian guest (tools/guest), built once per machine and cached.
windows_i686_run() {
  local dir="$out/windows-i686" job="$out/windows-i686-run" guest
  cmake -S "$root" -B "$dir" -G Ninja -DQUARNEL_WERROR=ON -DQUARNEL_BUILD_TESTS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" &&
    cmake --build "$dir" -j "$jobs" --target quarnel_tests quarnel_host32 || return 1
  guest=$(tools/guest/build.sh) || return 1
  rm -rf "$job" && mkdir -p "$job/in" &&
    cp "$dir/src/Quarnel.dll" "$dir/tests/quarnel_tests.exe" "$dir/tests/quarnel_test_strings.dll" \
      "$dir/tests/host32/quarnel_host32.exe" "$job/in/" &&
    cp tools/guest/suite-job.sh "$job/in/job.sh" &&
    tools/guest/run.sh "$guest" "$job/in" "$job/out" 1800
}
# Why the guest cannot be used here, if it cannot.
guest_unavailable() {
  [ "$(id -u)" -eq 0 ] || sudo -n true 2>/dev/null ||
    { echo "needs root or sudo (binfmt_misc, mmdebstrap)"; return 0; }
  local tool
  for tool in qemu-system-i386 qemu-i386-static mmdebstrap mke2fs arch-test; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed"; return 0; }
  done
  return 1
}

stage native build_and_test "$out/native"
stage sanitizers build_and_test "$out/sanitizers" -DQUARNEL_SANITIZE=ON
stage windows-x64 windows_x64
stage windows-i686 windows_i686
if ! why=$(guest_unavailable); then
  stage windows-i686-run windows_i686_run
  grep -h '^guest:' "$out/windows-i686-run.log"
elif [ -n "${CI:-}" ]; then
  stage windows-i686-run sh -c "echo 'no emulated guest on this machine: $why'; exit 1"
else
  echo "=== windows-i686-run skipped: $why"
  summary+=("$(printf '%-14s skipped: %s' windows-i686-run "$why")")
fi
stage linux-i386 build_and_test "$out/linux-i386" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-linux-i386.cmake"

echo
printf '%s\n' "${summary[@]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
