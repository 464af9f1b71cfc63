#!/usr/bin/env bash
# Installs everything the build and the full test run need on Debian.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config python3 clang-format
  googletest libgtest-dev libbenchmark-dev   # tests and benchmarks
  libabsl-dev                               # two of the benchmarks' baselines
  libfmt-dev                                # the C++ wrapper's fmt formatter test
  libicu-dev unicode-data                   # case/conversion baselines and tests; case table data
  g++-multilib qemu-user-static             # 32-bit Linux build, run under qemu
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  wine wine64                               # runs the Windows build's tests
  locales                                   # a German locale for the number-settings run
  clang libclang-rt-14-dev                  # libFuzzer and its sanitizers (tools/fuzz.sh)
  python3-venv python3-pip python3-pytest  # Python binding
  mypy                                      # the Python package's type check
  mono-mcs mono-runtime                     # .NET binding
  fpc                                       # Pascal binding
  doxygen                                   # the API reference (docs target)
  llvm lld unzip                            # the release: Quarnel.lib and the lld-link host
  miller                                    # a baseline of bench/tool_vs_csv.py
  dpkg-dev file                             # Debian packages (cpack -G DEB)
  qemu-system-x86 mmdebstrap arch-test e2fsprogs debian-archive-keyring  # the 32-bit guest
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# The number-settings test run uses a German locale (comma decimal separator).
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo sed -i 's/^# *de_DE.UTF-8/de_DE.UTF-8/' /etc/locale.gen
  $sudo locale-gen >/dev/null
fi
