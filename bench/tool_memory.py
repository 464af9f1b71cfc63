#!/usr/bin/env python3
"""Peak memory of the quarnel tool per byte of its longest line.

Runs the tool on inputs of one line each, 8 to 128 MiB long: separators
only (the most fields a line can hold) and one quoted field holding
separators, and prints the peak resident memory, the peak less that of a
run on a one-line input (the fixed part), and that difference per byte of
the line. The goal is at most 3 bytes per byte of line.
"""
import os
import subprocess
import sys
import tempfile


def peak_kb(command, data_path):
    with open(data_path, "rb") as stdin, open(os.devnull, "wb") as null:
        proc = subprocess.Popen(command, stdin=stdin, stdout=null)
        _, status, usage = os.wait4(proc.pid, 0)
    if status != 0:
        raise SystemExit(f"{command} failed: status {status}")
    return usage.ru_maxrss


def write_line(path, head, unit, tail, size):
    """One line of about `size` bytes, written a block at a time: a child
    started by this process is charged with this process's own peak."""
    block = unit * (65536 // len(unit))
    with open(path, "wb") as f:
        f.write(head)
        for _ in range(size // len(block)):
            f.write(block)
        f.write(unit * ((size % len(block)) // len(unit)) + tail + b"\n")


def main():
    tool = sys.argv[1] if len(sys.argv) > 1 else "build/quarnel"
    if not os.access(tool, os.X_OK):
        raise SystemExit(f"{tool} is not an executable (build it first)")
    commas = (b"", b",", b"")
    quoted = (b'"', b'a,', b'"')
    cases = [("sep -f csv", [tool, "sep", "-f", "csv"], commas),
             ("csv", [tool, "csv"], commas),
             ("csv -s 2-", [tool, "csv", "-s", "2-"], commas),
             ("csv -f jsonl, quoted", [tool, "csv", "-f", "jsonl"], quoted),
             ("fixed -w 1,-1", [tool, "fixed", "-w", "1,-1"], commas)]
    with tempfile.TemporaryDirectory() as work:
        path = os.path.join(work, "line.txt")
        print(f"{'command':24} {'line MiB':>8} {'peak MiB':>9} {'fixed MiB':>9} {'bytes/byte':>10}")
        for name, command, (head, unit, tail) in cases:
            write_line(path, head, unit, tail, 3)
            fixed = peak_kb(command, path)
            for mib in (8, 32, 128):
                write_line(path, head, unit, tail, mib << 20)
                peak = peak_kb(command, path)
                per = (peak - fixed) * 1024 / (mib << 20)
                print(f"{name:24} {mib:8} {peak / 1024:9.1f} {fixed / 1024:9.1f} {per:10.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
