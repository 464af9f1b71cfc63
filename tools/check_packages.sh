#!/usr/bin/env bash
# Installs the Debian packages built in DIR (cpack -G DEB), checks the
# installed programs, builds C and C++ hosts against the installed headers
# and library, then removes the packages again. Needs root (or sudo).
#
#   tools/check_packages.sh BUILD_DIR
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dir=$1
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
work=$(mktemp -d)
packages=(quarnel-tools libquarnel-dev libquarnel0)
cleanup() {
  $sudo dpkg --purge "${packages[@]}" >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
$sudo dpkg -i "$dir"/libquarnel0_*.deb "$dir"/libquarnel-dev_*.deb "$dir"/quarnel-tools_*.deb ||
  exit 1

passed=0
failed=0
check() {  # check NAME COMMAND...
  local name=$1
  shift
  if (cd "$work" && env -u LD_LIBRARY_PATH "$@") >"$work/log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $name"
    cat "$work/log"
  fi
}

check "the installed tool reads CSV" bash -c \
  'printf "a,\"b,c\"\n" | /usr/bin/quarnel csv -f jsonl | grep -qxF "[\"a\",\"b,c\"]"'
check "the tool finds its library by rpath" bash -c \
  'readelf -d /usr/bin/quarnel | grep -q "\$ORIGIN/../lib"'
check "both programs give their version" bash -c \
  '/usr/bin/quarnel --version && /usr/bin/quarnel-rcstrings --version'
check "man pages" test -f /usr/share/man/man1/quarnel.1 -a -f /usr/share/man/man1/quarnel-rcstrings.1
check "a C host through the CMake package, with a string table" bash -c \
  "cmake -S '$root/tests/consumer' -B c-host >/dev/null && cmake --build c-host && c-host/consumer"
check "a C host through pkg-config" bash -c \
  "cc -std=c99 -Wall -Werror '$root/tests/consumer/main.c' \$(pkg-config --cflags --libs quarnel) \
     -o c-pc && ./c-pc"
# quarnel.hpp needs C++17: the package must raise a C++11 project to it.
mkdir -p "$work/cxx"
cat >"$work/cxx/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.20)
project(CxxHost LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 11)
find_package(Quarnel REQUIRED)
add_executable(host host.cpp)
target_link_libraries(host PRIVATE Quarnel::quarnel)
CMAKE
cat >"$work/cxx/host.cpp" <<'CPP'
#include <quarnel/quarnel.hpp>
int main() {
  CLAnsiStr line("a;b;c");
  CLAnsiStrList fields(4);
  return SplitBySepExA(&line, ';', &fields, false) == 3 && fields[2].view() == "c" ? 0 : 1;
}
CPP
check "a C++11 project is raised to C++17 for quarnel.hpp" bash -c \
  "cmake -S cxx -B cxx-build >/dev/null && cmake --build cxx-build && cxx-build/host"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
