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

# Whole seconds of processor time (user + system) used by finished child
# processes so far: wall time on a shared machine says little about whether a
# stage got heavier; this does.
# `times` runs in this shell (a pipe or $(...) would ask a subshell, whose
# children are not these), so its output goes through a file.
child_cpu() {
  times >"$out/.times"
  awk 'NR == 2 {
    n = split($0, f, " "); s = 0
    for (i = 1; i <= n; i++) { split(f[i], t, "m"); s += t[1] * 60 + t[2] }
    print int(s) }' "$out/.times"
}

# QUARNEL_STAGES="tsan packages" runs only the stages it names.
stage() {  # stage NAME COMMAND...
  local name=$1 log="$out/$1.log" start=$SECONDS rc cpu0
  shift
  if [ -n "${QUARNEL_STAGES:-}" ] && [[ " $QUARNEL_STAGES " != *" $name "* ]]; then
    return 0
  fi
  echo "=== $name"
  child_cpu >"$out/.cpu0"
  "$@" >"$log" 2>&1
  rc=$?
  # Wine reports a crash and may still end the program with status 0.
  if [ $rc -eq 0 ] && grep -q 'wine: Unhandled exception' "$log"; then
    echo "a program crashed under Wine (see $log)" >>"$log"
    rc=1
  fi
  child_cpu >"$out/.cpu1"
  local secs=$((SECONDS - start)) cpu=$(($(<"$out/.cpu1") - $(<"$out/.cpu0"))) n f
  n=$(count "$log")
  f=$(failures "$log")
  if [ $rc -ne 0 ]; then
    tail -n 60 "$log"
    [ "$f" -gt 0 ] || f=1
  fi
  passed=$((passed + n))
  failed=$((failed + f))
  summary+=("$(printf '%-14s %-4s %5d tests passed %3d failed %5ds %6ds cpu' "$name" \
    "$([ $rc -eq 0 ] && echo ok || echo FAIL)" "$n" "$f" "$secs" "$cpu")")
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

# The Python, .NET and Pascal hosts against the native library (the library
# of the native stage when it has been built, else a build of it alone), and
# the VBA module's declarations. A subshell, so that LD_LIBRARY_PATH stays
# with these hosts.
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

  # Python: pip installs the package from the source tree with its own
  # build backend (nothing downloaded, nothing written into the tree) into a
  # venv of Debian's python3 and one of the default python3; mypy --strict
  # checks it; pytest runs under two code pages, from outside the tree.
  local tree="$root/bindings/python" before page passed=0 failed=0 last
  before=$(find "$tree" | sort)
  rm -rf "$dir/venv" "$dir/venv-default"
  /usr/bin/python3 -m venv --system-site-packages "$dir/venv" &&
    "$dir/venv/bin/python" -m pip install -q --no-index --disable-pip-version-check "$tree" &&
    python3 -m venv "$dir/venv-default" &&
    "$dir/venv-default/bin/python" -m pip install -q --no-index --disable-pip-version-check \
      "$tree" &&
    "$dir/venv-default/bin/python" -c 'import quarnel; assert quarnel.WideStr("a,b").split(",") == ["a", "b"]' ||
    rc=1
  [ "$(find "$tree" | sort)" = "$before" ] || { echo "python: pip install wrote into $tree"; rc=1; }
  mypy --strict --python-version 3.8 --cache-dir "$dir/mypy" "$tree/quarnel" "$tree/_backend" || rc=1
  for page in 1252 65001; do
    (cd "$dir" && QUARNEL_ACP=$page PYTHONDONTWRITEBYTECODE=1 "$dir/venv/bin/python" -m pytest -q \
      -p no:cacheprovider "$tree/tests") | tee "$dir/pytest-$page.log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || rc=1
    last=$(tail -n 1 "$dir/pytest-$page.log")
    passed=$((passed + $(grep -oE '[0-9]+ passed' <<<"$last" | cut -d' ' -f1 | grep . || echo 0)))
    failed=$((failed + $(grep -oE '[0-9]+ (failed|error)' <<<"$last" | awk '{s += $1} END {print s + 0}')))
  done
  echo "python: $passed passed, $failed failed"

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

  # Free Pascal, linked against the library with an rpath to it: the unit and
  # its tests built in each of the compiler's Object Pascal modes, each run
  # under code pages 1252 and 65001 (with checked handles once), and the
  # README's program.
  local mode pas
  for mode in objfpc delphi; do
    pas="$dir/pascal-$mode"
    rm -rf "$pas" && mkdir -p "$pas"
    fpc -M"$mode" -vew -Sew -FU"$pas" -FE"$pas" -Fu"$root/bindings/pascal" -Fl"$lib" \
      -k-rpath="$lib" "$root/bindings/pascal/tests.pas" &&
      LC_ALL=C.UTF-8 QUARNEL_ACP=1252 "$pas/tests" &&
      LC_ALL=C.UTF-8 QUARNEL_ACP=65001 QUARNEL_CHECK_HANDLES=1 "$pas/tests" || rc=1
  done
  fpc -vew -Sew -FU"$dir/pascal-objfpc" -FE"$dir/pascal-objfpc" -Fu"$root/bindings/pascal" \
    -Fl"$lib" -k-rpath="$lib" "$root/bindings/pascal/example.pas" &&
    "$dir/pascal-objfpc/example" || rc=1

  # The VBA module: every Declare against the header and the export table.
  python3 tools/check_vba.py || rc=1
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

# The release (tools/release.sh): built twice from separate build trees,
# which must give the same bytes; the archives and wheels checked; the wheels
# installed with pip as Windows and Linux users would; and a C host linked the
# Microsoft toolchain's way against each archive's Quarnel.lib: the 64-bit one
# runs here under Wine, the 32-bit one in the guest with the suite.
release() (
  local dir="$out/release" version py=/usr/bin/python3 rc=0
  [ -x "$py" ] || py=python3
  version=$(sed -n 's/^project(Quarnel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
  rm -rf "$dir/dist" "$dir/dist-again" "$dir/pip" "$dir/unpacked" && mkdir -p "$dir"
  QUARNEL_RELEASE_BUILD="$dir/build" QUARNEL_DIST="$dir/dist" JOBS=$jobs tools/release.sh ||
    return 1
  QUARNEL_RELEASE_BUILD="$dir/build-again" QUARNEL_DIST="$dir/dist-again" JOBS=$jobs \
    tools/release.sh >/dev/null || return 1
  if (cd "$dir/dist" && sha256sum -- *) | diff - <(cd "$dir/dist-again" && sha256sum -- *); then
    echo "reproducible: 1 passed, 0 failed"
  else
    echo "reproducible: 0 passed, 1 failed"
  fi
  "$py" tools/release/check.py "$dir/dist" "$version" src/exports/Quarnel.def || rc=1

  # Windows wheels as pip picks them for a Windows interpreter.
  local plat whl n=0 bad=0
  for plat in win32 win_amd64; do
    "$py" -m pip install -q --no-index --find-links "$dir/dist" --only-binary=:all: \
      --platform "$plat" --target "$dir/pip/$plat" quarnel &&
      [ -f "$dir/pip/$plat/quarnel/_lib/Quarnel.dll" ] && n=$((n + 1)) || bad=$((bad + 1))
  done
  # The Linux wheel installed for real, used with no library installed and no
  # LD_LIBRARY_PATH, by Debian's Python and by the default one.
  whl=$(ls "$dir/dist"/quarnel-*-manylinux_*.whl)
  for py in /usr/bin/python3 python3; do
    rm -rf "$dir/pip/venv" &&
      "$py" -m venv "$dir/pip/venv" &&
      "$dir/pip/venv/bin/python" -m pip install -q --no-index "$whl" &&
      (cd /tmp && env -u LD_LIBRARY_PATH "$dir/pip/venv/bin/python" \
        "$root/tools/release/wheel_smoke.py") && n=$((n + 1)) || bad=$((bad + 1))
  done
  echo "wheels installed: $n passed, $bad failed"

  mkdir -p "$dir/unpacked"
  (cd "$dir/unpacked" && unzip -q "$dir/dist/quarnel-$version-win64.zip" &&
    unzip -q "$dir/dist/quarnel-$version-win32.zip") || return 1
  tools/release/msvc_link_check.sh x86_64 "$dir/unpacked/quarnel-$version-win64" "$dir/msvc64" &&
    tools/release/msvc_link_check.sh i686 "$dir/unpacked/quarnel-$version-win32" "$dir/msvc32" ||
    return 1
  export WINEPREFIX="$out/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wine wineboot -u </dev/null >/dev/null 2>&1 || true
  (cd "$dir/msvc64" && wine ./msvc_host.exe) || rc=1
  wineserver -k >/dev/null 2>&1 || true
  return $rc
)

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
    { [ ! -e "$out/release/msvc32/msvc_host.exe" ] ||
      cp "$out/release/msvc32/msvc_host.exe" "$job/in/"; } &&
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
# Every example of README.md and bindings/*/README.md, run as written against
# build/ (the folder the README's first command makes; built here if absent).
stage readme env JOBS="$jobs" python3 tools/readme_examples.py
stage sanitizers build_and_test "$out/sanitizers" -DQUARNEL_SANITIZE=ON
stage windows-x64 windows_x64
stage windows-i686 windows_i686
stage release release
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
