#!/usr/bin/env bash
# Builds the emulated 32-bit Debian guest in which 32-bit Windows programs run
# under Wine: an i386 root file system with its own kernel and initrd, written
# to an ext4 image, then booted once to create the Wine prefix on the image.
# Everything is kept in one cache directory, keyed on these scripts' contents,
# so a machine builds the guest once and later runs only boot it.
# Prints the directory that holds vmlinuz, initrd.img and root.img.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${QUARNEL_GUEST_CACHE:-$here/../../build/guest}
# The image depends on this script, the init and the interpreter entry only.
key=$(cat "$here/build.sh" "$here/init" "$here/binfmt.sh" | sha256sum | cut -c1-16)
dir=$cache/$key
if [ -e "$dir/ready" ]; then
  echo "guest: cached in $dir" >&2
  echo "$dir"
  exit 0
fi
# Registering the interpreter and assembling the root file system need root.
if [ "$(id -u)" -ne 0 ]; then
  exec sudo -n QUARNEL_GUEST_CACHE="$cache" "$0" "$@"
fi
mkdir -p "$cache"
# Images from other versions of these scripts are stale.
find "$cache" -mindepth 1 -maxdepth 1 -type d ! -name "$key" -exec rm -rf {} +
rm -rf "$dir" && mkdir -p "$dir"
phase() {  # phase NAME COMMAND...: runs one step and says how long it took
  local name=$1 start=$SECONDS
  shift
  "$@" >"$dir/$name.log" 2>&1 || {
    tail -n 40 "$dir/$name.log" >&2
    echo "guest: $name failed" >&2
    exit 1
  }
  echo "guest: $name $((SECONDS - start)) s" >&2
}

rootfs() {
  rm -rf "$dir/root"
  # The initrd needs only what mounts the root disk and the shares; building
  # it from the whole module tree takes many minutes under user emulation.
  mmdebstrap --arch=i386 --variant=apt \
    --include=linux-image-686-pae,initramfs-tools,kmod,mount,wine,wine32,locales \
    --dpkgopt='path-exclude=/usr/share/man/*' --dpkgopt='path-exclude=/usr/share/doc/*' \
    --essential-hook='mkdir -p "$1/etc/initramfs-tools/conf.d" &&
      echo MODULES=list >"$1/etc/initramfs-tools/conf.d/quarnel"' \
    --customize-hook='printf "%s\n" virtio_pci virtio_blk ext4 crc32c_generic 9pnet_virtio 9p \
      >>"$1/etc/initramfs-tools/modules" && chroot "$1" update-initramfs -u -k all' \
    --customize-hook="install -m 755 '$here/init' \"\$1/sbin/quarnel-init\"" \
    bookworm "$dir/root" http://deb.debian.org/debian
  cp -L "$dir/root/vmlinuz" "$dir/vmlinuz"
  cp -L "$dir/root/initrd.img" "$dir/initrd.img"
}

image() {
  local mb
  mb=$(($(du -sm "$dir/root" | cut -f1) + 768))
  mke2fs -q -t ext4 -d "$dir/root" -L quarnel "$dir/root.img" "${mb}M"
  rm -rf "$dir/root"
}

# The first Wine start in a new prefix takes minutes under emulation: do it
# once here, writing to the image, so runs that boot a snapshot of it start
# from a ready prefix.
prefix() {
  local job=$dir/prefix-job
  mkdir -p "$job"
  printf '%s\n' 'wine wineboot -u' 'wineserver -w' 'ls /root/.wine/system.reg' >"$job/job.sh"
  QUARNEL_GUEST_WRITABLE=1 "$here/run.sh" "$dir" "$job" "$dir/prefix-out" 1500
  rm -rf "$job"
}

phase binfmt "$here/binfmt.sh"
phase rootfs rootfs
phase image image
phase prefix prefix
touch "$dir/ready"
echo "$dir"
