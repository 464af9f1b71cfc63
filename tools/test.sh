#!/usr/bin/env bash
# Builds and runs every test stage (see the README's table) and prints the
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

# Sums the counts of GoogleTest and of the scripts that print "N passed, N failed".
count() {
  { grep -ohE '\[  PASSED  \] [0-9]+ test' "$1" | awk '{print $4}'
    grep -ohE '[0-9]+ passed, [0-9]+ failed' "$1" | awk '{print $1}'; } | awk '{s += $1} END {print s + 0}'
}
failures() {
  { grep -ohE '\[  FAILED  \] [0-9]+ test' "$1" | awk '{print $4}'
    grep -ohE '[0-9]+ passed, [0-9]+ failed' "$1" | awk '{print $3}'; } | awk '{s += $1} END {print s + 0}'
}

# QUARNEL_STAGES="tsan packages" runs only the stages it names.
stage() {  # stage NAME COMMAND...
  local name=$1 log="$out/$1.log" start=$SECONDS rc
  shift
  if [ -n "${QUARNEL_STAGES:-}" ] && [[ " $QUARNEL_STAGES " != *" $name "* ]]; then
    return 0
  fi
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

# Texts at the length limits: a Release build of the large suite alone. It
# needs about 4 GiB at its peak and skips itself, saying so, where less than
# 8 GiB is available.
large() {
  local dir="$out/large"
  cmake -S "$root" -B "$dir" -G Ninja -DQUARNEL_WERROR=ON -DCMAKE_BUILD_TYPE=Release &&
    cmake --build "$dir" -j "$jobs" --target quarnel_large_tests &&
    "$dir/tests/quarnel_large_tests"
}

# The thread stress test under ThreadSanitizer: only the library and that
# test are built; any report fails the stage.
tsan() {
  local dir="$out/tsan"
  cmake -S "$root" -B "$dir" -G Ninja -DQUARNEL_WERROR=ON -DQUARNEL_TSAN=ON &&
    cmake --build "$dir" -j "$jobs" --target quarnel_stress_tests &&
    TSAN_OPTIONS="halt_on_error=1 exitcode=66" "$dir/tests/quarnel_stress_tests"
}

# Every fuzz target under libFuzzer with ASan and UBSan, for a bounded time.
fuzz_targets() {
  QUARNEL_FUZZ_DIR="$out/fuzz" JOBS=$jobs tools/fuzz.sh "${QUARNEL_FUZZ_SECONDS:-45}"
}

# The Python, .NET and Pascal hosts against the native library: the library
# of the native stage when it has been built, else a build of it alone. A
# subshell, so that LD_LIBRARY_PATH stays with these hosts.
bindings() (
  local dir="$out/bindings" lib="$out/native/src" rc=0
  mkdir -p "$dir"
  if [ ! -e "$lib/libquarnel.so" ]; then
    lib="$dir/lib/src"
    cmake -S "$root" -B "$dir/lib" -G Ninja -DQUARNEL_WERROR=ON -DQUARNEL_BUILD_TESTS=OFF &&
      cmake --build "$dir/lib" -j "$jobs" --target quarnel || return 1
  fi
  export LD_LIBRARY_PATH="$lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
  python3 tools/check_bindings.py || rc=1

  # Python: installed offline into a venv that sees Debian's setuptools and
  # pytest, then tested from outside the source tree. pip builds in the
  # folder it installs from, so it gets a fresh copy.
  local py=/usr/bin/python3
  [ -x "$py" ] || py=python3
  rm -rf "$dir/venv" "$dir/python"
  cp -r "$root/bindings/python" "$dir/python" &&
    "$py" -m venv --system-site-packages "$dir/venv" &&
    "$dir/venv/bin/python" -m pip install -q --no-build-isolation --no-index "$dir/python" ||
    rc=1
  (cd "$dir" && "$dir/venv/bin/python" -m pytest -q -p no:cacheprovider \
    "$root/bindings/python/tests") | tee "$dir/pytest.log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || rc=1
  local last
  last=$(tail -n 1 "$dir/pytest.log")
  echo "python: $(grep -oE '[0-9]+ passed' <<<"$last" | cut -d' ' -f1 | grep . || echo 0)" \
    "passed, $(grep -oE '[0-9]+ (failed|error)' <<<"$last" | awk '{s += $1} END {print s + 0}') failed"

  # .NET under mono: the assembly with its XML documentation (every public
  # name documented, or mcs fails) and the dllmap it ships with, then the
  # example and the tests against it, under both ANSI code pages.
  local cs="$root/bindings/dotnet" net="$dir/dotnet"
  mkdir -p "$net"
  mcs -nologo -warnaserror -target:library -doc:"$net/Quarnel.Net.xml" \
    -out:"$net/Quarnel.Net.dll" "$cs/Quarnel.cs" &&
    cp "$cs/Quarnel.Net.dll.config" "$net/" &&
    mcs -nologo -warnaserror -r:"$net/Quarnel.Net.dll" -out:"$net/example.exe" "$cs/Example.cs" &&
    mcs -nologo -warnaserror -r:"$net/Quarnel.Net.dll" -out:"$net/tests.exe" "$cs/Tests.cs" &&
    (cd "$net" && mono example.exe && QUARNEL_ACP=1252 mono tests.exe &&
      QUARNEL_ACP=65001 mono tests.exe) || rc=1

  # Free Pascal, linked against the library with an rpath to it.
  mkdir -p "$dir/pascal"
  fpc -vew -Sew -FU"$dir/pascal" -FE"$dir/pascal" -Fu"$root/bindings/pascal" -Fl"$lib" \
    -k-rpath="$lib" "$root/bindings/pascal/host.pas" && "$dir/pascal/host" || rc=1
  return $rc
)

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
stage bindings bindings
stage sanitizers build_and_test "$out/sanitizers" -DQUARNEL_SANITIZE=ON
stage windows-x64 windows_x64
stage windows-i686 windows_i686
if ! why=$(guest_unavailable); then
  stage windows-i686-run windows_i686_run
  grep -sh '^guest:' "$out/windows-i686-run.log"
elif [ -n "${CI:-}" ]; then
  stage windows-i686-run sh -c "echo 'no emulated guest on this machine: $why'; exit 1"
else
  echo "=== windows-i686-run skipped: $why"
  summary+=("$(printf '%-14s skipped: %s' windows-i686-run "$why")")
fi
stage linux-i386 build_and_test "$out/linux-i386" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-linux-i386.cmake"
stage large large
stage tsan tsan
stage fuzz fuzz_targets
grep -sh '^fuzz ' "$out/fuzz.log"
stage packages packages

echo
printf '%s\n' "${summary[@]}"
# Test and fuzz code against the code it tests (non-blank, non-comment lines).
python3 tools/test_ratio.py || echo "test ratio: not measured"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
