#!/usr/bin/env bash
# Lets this machine execute i386 Linux programs through qemu-i386-static: the
# kernel here has no 32-bit support of its own, and the guest's package
# scripts must run while its root file system is assembled. The F flag makes
# the kernel open the interpreter once, at registration, so it also works
# inside the chroot where /usr/bin/qemu-i386-static does not exist.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "binfmt: needs root" >&2; exit 1; }
if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
fi
if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" >/proc/sys/fs/binfmt_misc/register
fi
arch-test i386
