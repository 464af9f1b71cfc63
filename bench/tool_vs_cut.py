#!/usr/bin/env python3
"""Times the quarnel tool against cut(1) on a generated comma-separated file
and prints the ratios.

usage: bench/tool_vs_cut.py [SIZE_MB] [QUARNEL]

SIZE_MB defaults to 200; QUARNEL to build/quarnel (use a Release build). One
line in ten has a quoted field holding a comma, and some fields are
multi-byte UTF-8. Each command reads the file on standard input and writes
to /dev/null, three times; the fastest run counts, both in wall-clock time
and in CPU time (user + system), which a busy machine disturbs less.
"""
import os
import random
import resource
import subprocess
import sys
import tempfile
import time


def generate(path, size):
    rng = random.Random(7)
    words = ["alpha", "bravo", "K\u00f6ln", "delta", "echo", "fox", "golf", "hotel",
             "\u0130zmir", "juliet"]
    lines = []
    for i in range(40000):
        city = rng.choice(words)
        if i % 10 == 0:
            city = f'"{city}, {rng.choice(words)}"'
        lines.append(f"{i},{city},{rng.randint(1900, 2024)},{rng.random():.4f},"
                     f"{rng.choice(words)}\n")
    block = "".join(lines).encode()
    with open(path, "wb") as f:
        for _ in range(0, size, len(block)):
            f.write(block)


def best(command, data):
    """The fastest of three runs: (wall seconds, CPU seconds)."""
    runs = []
    for _ in range(3):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        with open(data, "rb") as stdin, open(os.devnull, "wb") as null:
            subprocess.run(command, stdin=stdin, stdout=null, check=True)
        wall = time.perf_counter() - start
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu = after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime
        runs.append((wall, cpu))
    return min(r[0] for r in runs), min(r[1] for r in runs)


def main():
    size_mb = int(sys.argv[1]) if len(sys.argv) > 1 else 200
    tool = sys.argv[2] if len(sys.argv) > 2 else "build/quarnel"
    commands = {
        "cut -d, -f2": ["cut", "-d,", "-f2"],
        "quarnel sep": [tool, "sep"],
        "quarnel sep -f tsv": [tool, "sep", "-f", "tsv"],
        "quarnel sep -f jsonl": [tool, "sep", "-f", "jsonl"],
        "quarnel csv": [tool, "csv"],
    }
    fd, data = tempfile.mkstemp(suffix=".csv")
    os.close(fd)
    try:
        generate(data, size_mb << 20)
        print(f"input: {os.path.getsize(data) >> 20} MB")
        t = {}
        for name, command in commands.items():
            t[name] = best(command, data)
            print(f"{name:22} {t[name][0]:7.2f} s wall {t[name][1]:7.2f} s CPU")
    finally:
        os.unlink(data)
    ratios = [("sep / cut", "quarnel sep", "cut -d, -f2", 1.2),
              ("tsv / sep", "quarnel sep -f tsv", "quarnel sep", 1.5),
              ("jsonl / sep", "quarnel sep -f jsonl", "quarnel sep", 1.5),
              ("csv / cut", "quarnel csv", "cut -d, -f2", 3.0)]
    print(f"{'ratio':14} {'wall':>6} {'CPU':>6}  goal")
    for label, a, b, goal in ratios:
        print(f"{label:14} {t[a][0] / t[b][0]:6.2f} {t[a][1] / t[b][1]:6.2f}  <= {goal}")


if __name__ == "__main__":
    main()
