#!/usr/bin/env bash
# Builds tests/release/msvc_host.c the Microsoft toolchain's way against an
# unpacked release: clang for the MSVC ABI, lld-link, the shipped header and
# lib/Quarnel.lib, no C runtime (kernel32 through an import library made here).
#   msvc_link_check.sh ARCH RELEASE-DIR OUT-DIR    ARCH: i686 or x86_64
# Leaves OUT-DIR/msvc_host.exe beside a copy of the DLL, ready to run.
set -euo pipefail
arch=$1 release=$2 out=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$out"
case $arch in
  i686) machine=i386 kernel32="GetStdHandle@4 WriteFile@20 ExitProcess@4 lstrlenA@4 lstrcmpA@8" entry=_start@0 ;;
  x86_64) machine=i386:x86-64 kernel32="GetStdHandle WriteFile ExitProcess lstrlenA lstrcmpA" entry=start ;;
  *) echo "unknown architecture $arch" >&2; exit 2 ;;
esac
{ echo "LIBRARY kernel32.dll"; echo "EXPORTS"; printf '  %s\n' $kernel32; } >"$out/kernel32.def"
llvm-dlltool -m "$machine" -k -d "$out/kernel32.def" -l "$out/kernel32.lib"
clang --target="$arch-pc-windows-msvc" -O1 -ffreestanding -nostdlibinc -fno-stack-protector \
  -Wall -Wextra -Werror -isystem "$root/tests/release/stub" -I "$release/include" \
  -c "$root/tests/release/msvc_host.c" -o "$out/msvc_host.obj"
lld-link -nologo -subsystem:console -entry:"${entry#_}" -nodefaultlib -out:"$out/msvc_host.exe" \
  "$out/msvc_host.obj" "$release/lib/Quarnel.lib" "$out/kernel32.lib"
cp "$release/bin/Quarnel.dll" "$out/"
