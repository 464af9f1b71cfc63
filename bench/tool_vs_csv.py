#!/usr/bin/env python3
"""Times `quarnel csv` against Python's csv module and Miller on the same
generated file of quoted CSV (CSV in, CSV out) and prints the ratios.

Each command reads the file on standard input and writes CSV to a file; the
commands take turns, one run each per round, and each figure is the median
of the rounds in CPU time (user + system) and wall-clock time. The outputs
are compared too: the tool's must equal Python's and Miller's (all quote
only where needed). Miller is the Debian package `miller` (`mlr`); it is skipped, and
said so, when it is not installed. Use a Release build of the tool.
"""
import argparse
import os
import random
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

PYTHON_CSV = ("import csv, sys\n"
              "w = csv.writer(sys.stdout, lineterminator='\\n')\n"
              "for row in csv.reader(sys.stdin):\n"
              "    w.writerow(row)\n")


def generate(path, size):
    """About `size` bytes of eight-field records, every text field quoted;
    some hold commas, doubled quotes, line breaks or non-ASCII text."""
    rng = random.Random(21)
    words = ["alpha", "bravo", "K\u00f6ln", "delta", "echo", "fox", "golf", "\u6f22\u5b57",
             "\u0130zmir", "juliet", "say \"\"hi\"\"", "one, two", "line\nbreak"]
    lines = []
    for i in range(20000):
        text = [rng.choice(words) + " " + rng.choice(words) for _ in range(4)]
        fields = [str(i), *(f'"{t}"' for t in text), str(rng.randint(1900, 2024)),
                  f"{rng.random():.6f}", f'"{rng.choice(words)}"']
        lines.append(",".join(fields) + "\n")
    block = "".join(lines).encode()
    with open(path, "wb") as f:
        for _ in range(0, size, len(block)):
            f.write(block)


def timed(command, data, out):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    with open(data, "rb") as stdin, open(out, "wb") as stdout:
        subprocess.run(command, stdin=stdin, stdout=stdout, check=True)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("size_mb", nargs="?", type=int, default=50,
                        help="size of the generated input in MB (default 50)")
    parser.add_argument("quarnel", nargs="?", default="build/quarnel",
                        help="the tool to time (default build/quarnel)")
    parser.add_argument("--runs", type=int, default=3, help="rounds (default 3)")
    args = parser.parse_args()
    if not os.access(args.quarnel, os.X_OK):
        parser.error(f"{args.quarnel} is not an executable (build it first)")
    commands = {
        "quarnel csv -f csv": [args.quarnel, "csv", "-f", "csv"],
        "python csv module": [sys.executable, "-c", PYTHON_CSV],
    }
    if shutil.which("mlr"):
        commands["miller (mlr --csv cat)"] = ["mlr", "--csv", "--implicit-csv-header",
                                             "--headerless-csv-output", "cat"]
    else:
        print("mlr not found: Miller skipped (apt-get install miller)")
    work = tempfile.mkdtemp()
    data = os.path.join(work, "in.csv")
    runs = {name: [] for name in commands}
    outputs = {name: os.path.join(work, f"out{i}.csv") for i, name in enumerate(commands)}
    try:
        generate(data, args.size_mb << 20)
        print(f"input: {os.path.getsize(data) / (1 << 20):.0f} MB of quoted CSV, "
              f"median of {args.runs} rounds")
        for name, command in commands.items():  # a warm-up: the file in the page cache
            timed(command, data, outputs[name])
        for _ in range(args.runs):
            for name, command in commands.items():
                runs[name].append(timed(command, data, outputs[name]))
        with open(outputs["quarnel csv -f csv"], "rb") as f:
            ours_text = f.read()
        same = {}
        for name in commands:
            with open(outputs[name], "rb") as f:
                same[name] = f.read() == ours_text
    finally:
        shutil.rmtree(work)
    t = {name: (statistics.median(r[0] for r in rs), statistics.median(r[1] for r in rs))
         for name, rs in runs.items()}
    print(f"{'command':26} {'CPU s':>7} {'wall s':>7} {'CPU x':>7} {'wall x':>7}")
    ours = t["quarnel csv -f csv"]
    for name, (wall, cpu) in t.items():
        print(f"{name:26} {cpu:7.2f} {wall:7.2f} {cpu / ours[1]:7.1f} {wall / ours[0]:7.1f}")
    for name, equal in same.items():
        if name != "quarnel csv -f csv":
            print(f"output equal to {name}'s: {'yes' if equal else 'NO'}")
    print("goal: the others >= 8x")
    return 0 if all(same.values()) else 1


if __name__ == "__main__":
    sys.exit(main())
