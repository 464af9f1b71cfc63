#!/usr/bin/env python3
"""Times the quarnel tool against cut(1) on a generated comma-separated file
and prints the ratios.

Every command reads the whole file on standard input and writes to
/dev/null. The commands take turns, one run each per round, so a machine
whose speed drifts slows them alike; each figure is the median of the
rounds, in CPU time (user + system, which a busy machine disturbs less) and
in wall-clock time. Use a Release build of the tool.
"""
import argparse
import os
import random
import resource
import statistics
import subprocess
import sys
import tempfile
import time


def generate(path, size):
    """About `size` bytes of five-field lines. One line in ten has a quoted
    field holding a comma, and some fields are multi-byte UTF-8."""
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


def timed(command, data):
    """One run: (wall seconds, CPU seconds)."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    with open(data, "rb") as stdin, open(os.devnull, "wb") as null:
        subprocess.run(command, stdin=stdin, stdout=null, check=True)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("size_mb", nargs="?", type=int, default=200,
                        help="size of the generated input in MB (default 200)")
    parser.add_argument("quarnel", nargs="?", default="build/quarnel",
                        help="the tool to time (default build/quarnel)")
    parser.add_argument("--runs", type=int, default=5,
                        help="rounds; each figure is their median (default 5, at least 3)")
    args = parser.parse_args()
    if args.runs < 3:
        parser.error("--runs must be at least 3")
    if not os.access(args.quarnel, os.X_OK):
        parser.error(f"{args.quarnel} is not an executable (build it first)")
    tool = args.quarnel
    commands = {
        "cut -d, -f2": ["cut", "-d,", "-f2"],
        "quarnel sep -s 2": [tool, "sep", "-s", "2"],
        "quarnel sep": [tool, "sep"],
        "quarnel sep -f tsv": [tool, "sep", "-f", "tsv"],
        "quarnel sep -f jsonl": [tool, "sep", "-f", "jsonl"],
        "quarnel csv": [tool, "csv"],
    }
    fd, data = tempfile.mkstemp(suffix=".csv")
    os.close(fd)
    runs = {name: [] for name in commands}
    try:
        generate(data, args.size_mb << 20)
        print(f"input: {os.path.getsize(data) >> 20} MB, median of {args.runs} rounds")
        for name, command in commands.items():  # a warm-up: the file in the page cache
            timed(command, data)
        for _ in range(args.runs):
            for name, command in commands.items():
                runs[name].append(timed(command, data))
    finally:
        os.unlink(data)
    t = {name: (statistics.median(r[0] for r in rs), statistics.median(r[1] for r in rs))
         for name, rs in runs.items()}
    print(f"{'command':22} {'CPU s':>7} {'wall s':>7}")
    for name, (wall, cpu) in t.items():
        print(f"{name:22} {cpu:7.2f} {wall:7.2f}")
    ratios = [("sep -s 2 / cut", "quarnel sep -s 2", "cut -d, -f2", 1.2),
              ("sep / cut", "quarnel sep", "cut -d, -f2", 1.2),
              ("tsv / sep", "quarnel sep -f tsv", "quarnel sep", 1.5),
              ("jsonl / sep", "quarnel sep -f jsonl", "quarnel sep", 1.5),
              ("csv / cut", "quarnel csv", "cut -d, -f2", 3.0)]
    print(f"\n{'ratio':16} {'CPU':>6} {'wall':>6}  goal")
    for label, a, b, goal in ratios:
        print(f"{label:16} {t[a][1] / t[b][1]:6.2f} {t[a][0] / t[b][0]:6.2f}  <= {goal}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
