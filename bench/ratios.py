#!/usr/bin/env python3
"""Runs the benchmark binary and prints library/baseline per workload.

Pairs are the benchmarks named "<row>/quarnel" and "<row>/baseline"; the
ratio is the quotient of their median times over interleaved repetitions.
With --scaling, prints instead the bytes per second of each "scale/..."
benchmark along its sizes (flat rows mean linear time).

    bench/ratios.py build/bench/bench/quarnel_bench [--repetitions 9] [--filter REGEX]
    bench/ratios.py build/bench/bench/quarnel_bench --scaling
"""
import argparse
import json
import subprocess
import sys
from collections import defaultdict


def run(binary, bench_filter, repetitions, min_time):
    cmd = [binary, f"--benchmark_filter={bench_filter}", "--benchmark_format=json",
           f"--benchmark_repetitions={repetitions}", "--benchmark_enable_random_interleaving=true",
           "--benchmark_report_aggregates_only=true", f"--benchmark_min_time={min_time}"]
    out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
    return json.loads(out)["benchmarks"]


def medians(benchmarks):
    """The median of each benchmark; its only run when there was one."""
    result = {}
    for b in benchmarks:
        if b.get("aggregate_name") == "median" or b.get("run_type") == "iteration":
            result.setdefault(b["run_name"], b)
            if b.get("aggregate_name") == "median":
                result[b["run_name"]] = b
    return result


def print_ratios(found):
    rows = defaultdict(dict)
    for name, b in found.items():
        row, _, side = name.rpartition("/")
        rows[row][side] = b["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
    print(f"{'workload':34} {'quarnel':>12} {'baseline':>12} {'ratio':>7}")
    for row in sorted(rows):
        sides = rows[row]
        if "quarnel" in sides and "baseline" in sides:
            q, base = sides["quarnel"], sides["baseline"]
            print(f"{row:34} {q:10.0f}ns {base:10.0f}ns {q / base:6.2f}x")


def print_scaling(found):
    rows = defaultdict(dict)
    for name, b in found.items():
        _, op, size = name.split("/")
        rows[op][int(size)] = b.get("bytes_per_second", 0) / 2**20
    sizes = sorted({s for r in rows.values() for s in r})
    label = lambda s: f"{s >> 20}MiB" if s >= 2**20 else f"{s >> 10}KiB"
    print(f"{'MiB/s':12}" + "".join(f"{label(s):>9}" for s in sizes))
    for op in sorted(rows):
        print(f"{op:12}" + "".join(f"{rows[op].get(s, 0):9.0f}" for s in sizes))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary")
    parser.add_argument("--repetitions", type=int, default=9)
    parser.add_argument("--filter", default=None)
    parser.add_argument("--min-time", default="0.2")
    parser.add_argument("--scaling", action="store_true")
    args = parser.parse_args()
    if args.scaling:
        found = medians(run(args.binary, args.filter or "^scale/", args.repetitions, args.min_time))
        print_scaling(found)
    else:
        found = medians(run(args.binary, args.filter or "/(quarnel|baseline)$",
                            args.repetitions, args.min_time))
        print_ratios(found)
    return 0


if __name__ == "__main__":
    sys.exit(main())
