#!/usr/bin/env bash
# run.sh GUEST-DIR JOB-DIR OUT-DIR [TIMEOUT-SECONDS]
# Boots the guest that build.sh made, runs JOB-DIR/job.sh inside it (from an
# in-memory copy of JOB-DIR) and leaves its output in OUT-DIR/output.txt and
# the guest console in OUT-DIR/console.log. Exits with the job's exit code.
# The disk image is booted as a snapshot, so runs never change it.
set -euo pipefail
guest=$1 job=$2 out=$3 limit=${4:-900}
mkdir -p "$out"
rm -f "$out/rc" "$out/output.txt"
snapshot=-snapshot
[ -z "${QUARNEL_GUEST_WRITABLE:-}" ] || snapshot=
start=$SECONDS
# TCG only: guests under hardware acceleration die on this kind of machine.
# SMAP stays off, or the guest kernel faults on Wine's return to user mode.
timeout "$limit" qemu-system-i386 -accel tcg,thread=multi -cpu max,-smap -smp 2 -m 2048 \
  -display none -monitor none -serial "file:$out/console.log" -no-reboot -nic none \
  -kernel "$guest/vmlinuz" -initrd "$guest/initrd.img" \
  -append "root=/dev/vda rw console=ttyS0 quiet panic=1 init=/sbin/quarnel-init" \
  -drive "file=$guest/root.img,if=virtio,format=raw" $snapshot \
  -virtfs "local,path=$job,mount_tag=job,security_model=none,readonly=on" \
  -virtfs "local,path=$out,mount_tag=out,security_model=none" || {
  echo "guest: qemu failed or timed out after $((SECONDS - start)) s" >&2
  tail -n 30 "$out/console.log" >&2
  exit 1
}
cat "$out/output.txt" 2>/dev/null || true
grep -a '^guest:' "$out/console.log" >&2 || true
echo "guest: run $((SECONDS - start)) s" >&2
[ -s "$out/rc" ] || { echo "guest: the job left no exit code" >&2; tail -n 30 "$out/console.log" >&2; exit 1; }
exit "$(cat "$out/rc")"
