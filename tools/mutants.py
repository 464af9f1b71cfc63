#!/usr/bin/env python3
"""Mutation sampler: plants single-line faults in the library one at a time,
rebuilds the native suite incrementally and runs it; a mutant is caught when
a test fails.

    tools/mutants.py                 # every mutant in tools/mutants.txt
    tools/mutants.py --list          # list them and check that each still applies
    tools/mutants.py --only cow- numbers-02 --jobs 2
    tools/mutants.py --area 'code pages'
    tools/mutants.py --every-test    # run every test for each mutant: which tests catch it

With --every-test the report names, for each caught mutant, every failing
test (binary/Suite.Name), and lists the tests that alone catch some mutant.

The sources are copied to a scratch tree (BUILD_DIR/tree) and mutated there,
so the working tree is never touched, whatever happens to the run. Mutants
are applied in file order so that each object is rebuilt as few times as
possible. See tools/MUTANTS.md.
"""

import argparse
import datetime
import fnmatch
import os
import re
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SKIP_DIRS = {".git", "out", "__pycache__", "node_modules"}
# The targets the native tests need; missing ones are left out (the tool
# only with --all-tests).
TARGETS = [
    "quarnel_tests",
    "quarnel_test_strings",
    "quarnel_fuzz_exports_smoke",
    "quarnel_fuzz_alias_smoke",
    "quarnel_tool",
    "quarnel_rcstrings",
]
# Native ctest tests that are not run for each mutant: install_consumer
# configures and builds a project of its own; quarnel_tool (the command-line
# tool's end-to-end test) takes longer than the unit suite and runs only with
# --all-tests.
EXCLUDED_TESTS = "install_consumer"
SLOW_TESTS = "quarnel_tool"
FIELDS = ("id", "area", "file", "find", "repl", "why")


class Mutant:
    def __init__(self, fields, line):
        self.__dict__.update(fields)
        self.line = line
        self.status = ""
        self.detail = ""
        self.seconds = 0.0
        self.cases = []


def parse_mutants(path):
    mutants, fields, start = [], {}, 0

    def flush():
        if not fields:
            return
        missing = [k for k in FIELDS if k not in fields]
        if missing:
            sys.exit("%s:%d: mutant lacks %s" % (path, start, ", ".join(missing)))
        if fields["find"] == fields["repl"]:
            sys.exit("%s:%d: mutant %s changes nothing" % (path, start, fields["id"]))
        mutants.append(Mutant(dict(fields), start))
        fields.clear()

    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip():
                flush()
                continue
            if line.startswith("#"):
                continue
            key, sep, value = line.partition(":")
            if not sep or key not in FIELDS:
                sys.exit("%s:%d: expected one of %s" % (path, number, ", ".join(FIELDS)))
            if not fields:
                start = number
            fields[key] = value[1:] if value.startswith(" ") else value
    flush()
    seen = set()
    for m in mutants:
        if m.id in seen:
            sys.exit("%s:%d: duplicate id %s" % (path, m.line, m.id))
        seen.add(m.id)
    return mutants


def applicability(m, root):
    """'' when the mutant applies to the file under root, else why not."""
    path = os.path.join(root, m.file)
    if not os.path.isfile(path):
        return "file not found"
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        n = f.read().count(m.find)
    if n == 0:
        return "snippet not found"
    if n > 1:
        return "snippet occurs %d times" % n
    return ""


def sync_tree(src, dst):
    """Makes dst a copy of src's sources. Files are compared by content and
    copied with a fresh time stamp, so the build sees every change (a restored
    file must not look older than the object built from its mutant)."""
    wanted = set()
    for here, dirs, files in os.walk(src):
        rel = os.path.relpath(here, src)
        dirs[:] = [d for d in dirs
                   if d not in SKIP_DIRS and not (rel == "." and d.startswith("build"))]
        for name in files:
            r = os.path.normpath(os.path.join(rel, name))
            wanted.add(r)
            a, b = os.path.join(src, r), os.path.join(dst, r)
            if os.path.islink(a):
                continue
            try:
                if os.path.getsize(a) == os.path.getsize(b):
                    with open(a, "rb") as fa, open(b, "rb") as fb:
                        if fa.read() == fb.read():
                            continue
            except OSError:
                pass
            os.makedirs(os.path.dirname(b), exist_ok=True)
            shutil.copyfile(a, b)
            shutil.copymode(a, b)
    for here, dirs, files in os.walk(dst):
        for name in files:
            r = os.path.normpath(os.path.join(os.path.relpath(here, dst), name))
            if r not in wanted:
                os.remove(os.path.join(dst, r))


def run(cmd, log, timeout, cwd=None):
    """Runs cmd, appending its output to log; returns (exit code or None on timeout, seconds)."""
    start = time.time()
    with open(log, "a") as out:
        out.write("\n$ %s\n" % " ".join(cmd))
        out.flush()
        proc = subprocess.Popen(cmd, stdout=out, stderr=subprocess.STDOUT, cwd=cwd,
                                start_new_session=True)
        try:
            rc = proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
            rc = None
        except BaseException:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
            raise
    return rc, time.time() - start


class Suite:
    def __init__(self, args):
        self.args = args
        self.tree = os.path.join(args.build_dir, "tree")
        self.build = os.path.join(args.build_dir, "build")
        self.log = os.path.join(args.build_dir, "last.log")
        self.targets = None

    def configure(self):
        if os.path.exists(os.path.join(self.build, "build.ninja")):
            return True
        cmd = ["cmake", "-S", self.tree, "-B", self.build, "-G", "Ninja",
               "-DCMAKE_BUILD_TYPE=" + self.args.build_type, "-DQUARNEL_WERROR=OFF",
               "-DQUARNEL_BUILD_TESTS=ON"]
        return run(cmd, self.log, None)[0] == 0

    def compile(self):
        if self.targets is None:
            out = subprocess.run(["ninja", "-C", self.build, "-t", "targets", "all"],
                                 stdout=subprocess.PIPE, universal_newlines=True).stdout
            known = {line.split(":")[0] for line in out.splitlines()}
            self.targets = [t for t in TARGETS if t in known
                            and (self.args.all_tests or t != "quarnel_tool")]
        cmd = ["cmake", "--build", self.build, "-j", str(self.args.jobs), "--target"] + self.targets
        return run(cmd, self.log, self.args.build_timeout)[0] == 0

    def test(self):
        stop = [] if self.args.every_test else ["--stop-on-failure"]
        cmd = ["ctest", "--test-dir", self.build] + stop + ["--output-on-failure",
               "-E", EXCLUDED_TESTS if self.args.all_tests else EXCLUDED_TESTS + "|" + SLOW_TESTS,
               "--timeout", str(self.args.timeout)]
        rc, secs = run(cmd, self.log, self.args.timeout + 60)
        return rc, secs


def failed_tests(log):
    names = []
    try:
        with open(log, errors="replace") as f:
            for line in f:
                if "***Failed" in line or "***Timeout" in line or "***Exception" in line \
                        or "(Failed)" in line or "(Timeout)" in line or "(SEGFAULT)" in line \
                        or "(Subprocess aborted)" in line:
                    parts = line.split()
                    for i, p in enumerate(parts):
                        if p.startswith("Test") and i + 2 < len(parts) and parts[i + 1].startswith("#"):
                            names.append(parts[i + 2])
                            break
    except OSError:
        pass
    return sorted(set(names))


def failed_cases(log):
    """binary/Suite.Name of every failing GoogleTest case in the log; a
    failing binary that names no case stands for itself."""
    cases, binary, named = [], None, set()
    try:
        with open(log, errors="replace") as f:
            for line in f:
                m = re.search(r"Test\s+#\d+: (\S+)", line)
                if m:
                    binary = m.group(1)
                m = re.match(r"\[  FAILED  \] ([^\s,]+\.[^\s,]+)", line.strip())
                if m and binary:
                    case = "%s/%s" % (binary, m.group(1))
                    if case not in cases:
                        cases.append(case)
                    named.add(binary)
    except OSError:
        pass
    return cases + [b for b in failed_tests(log) if b not in named]


def sole_catchers(mutants):
    """Lines naming each test that is the only catcher of some mutant."""
    sole = {}
    for m in mutants:
        if m.status == "caught" and len(m.cases) == 1:
            sole.setdefault(m.cases[0], []).append(m.id)
    return ["  %-60s %s" % (case, " ".join(ids)) for case, ids in sorted(sole.items())]


def select(mutants, args):
    chosen = mutants
    if args.only:
        chosen = [m for m in chosen
                  if any(m.id == o or m.id.startswith(o) or fnmatch.fnmatch(m.id, o)
                         for o in args.only)]
    if args.area:
        chosen = [m for m in chosen if m.area in args.area]
    return chosen


def summary_lines(mutants):
    areas = []
    for m in mutants:
        if m.area not in areas:
            areas.append(m.area)
    lines = ["%-16s %7s %7s %8s %7s %6s" % ("area", "caught", "total", "survived", "invalid", "stale")]

    def row(name, group):
        caught = sum(m.status == "caught" for m in group)
        total = sum(m.status in ("caught", "survived") for m in group)
        pct = " (%d%%)" % (100 * caught // total) if total else ""
        return "%-16s %7d %7d %8d %7d %6d%s" % (
            name, caught, total, sum(m.status == "survived" for m in group),
            sum(m.status == "invalid" for m in group), sum(m.status == "stale" for m in group), pct)

    for a in areas:
        lines.append(row(a, [m for m in mutants if m.area == a]))
    lines.append(row("overall", mutants))
    return lines


def write_report(path, mutants, started, elapsed, complete):
    done = [m for m in mutants if m.status]
    with open(path, "w") as f:
        f.write("Mutation sample of %s, started %s, %d s%s\n\n" % (
            ROOT, started, elapsed, "" if complete else " (interrupted: partial)"))
        for line in summary_lines(done):
            f.write(line + "\n")
        for status in ("survived", "invalid", "stale", "caught"):
            group = [m for m in done if m.status == status]
            if not group:
                continue
            f.write("\n%s (%d)\n" % (status, len(group)))
            for m in group:
                f.write("  %-13s %-40s %s%s\n" % (m.id, m.file, m.why,
                                                 " [%s]" % m.detail if m.detail else ""))
        sole = sole_catchers(done)
        if sole:
            f.write("\nthe only test that catches a mutant (%d)\n" % len(sole))
            f.write("\n".join(sole) + "\n")


def stop(signum, frame):
    raise KeyboardInterrupt


def main():
    # A run started in the background ignores Ctrl-C; kill -TERM stops it
    # the same way, restoring the scratch tree and writing a partial report.
    signal.signal(signal.SIGTERM, stop)
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--list", action="store_true", help="list the mutants and check they apply")
    p.add_argument("--only", nargs="+", metavar="ID", help="ids, id prefixes or globs to run")
    p.add_argument("--area", nargs="+", help="areas to run")
    p.add_argument("--mutants", default=os.path.join(ROOT, "tools", "mutants.txt"))
    p.add_argument("--build-dir", default=os.path.join(ROOT, "build", "mutants"))
    p.add_argument("--build-type", default="Debug")
    p.add_argument("--jobs", type=int, default=1)
    p.add_argument("--all-tests", action="store_true",
                   help="also run the tool's end-to-end test for each mutant")
    p.add_argument("--every-test", action="store_true",
                   help="run every test for each mutant and name each failing test case")
    p.add_argument("--timeout", type=int, default=600, help="seconds for one run of the tests")
    p.add_argument("--build-timeout", type=int, default=1800)
    p.add_argument("--report", help="report file (default BUILD_DIR/report.txt)")
    args = p.parse_args()
    args.build_dir = os.path.abspath(args.build_dir)
    report = args.report or os.path.join(args.build_dir, "report.txt")

    mutants = select(parse_mutants(args.mutants), args)
    if args.list:
        stale = 0
        for m in mutants:
            why_not = applicability(m, ROOT)
            stale += bool(why_not)
            print("%-13s %-16s %-40s %s%s" % (m.id, m.area, m.file, m.why,
                                             "  STALE: " + why_not if why_not else ""))
        print("%d mutants, %d stale" % (len(mutants), stale))
        return 1 if stale else 0
    if not mutants:
        sys.exit("no mutant selected")

    os.makedirs(args.build_dir, exist_ok=True)
    suite = Suite(args)
    started = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    t0 = time.time()
    print("syncing %s -> %s" % (ROOT, suite.tree), flush=True)
    sync_tree(ROOT, suite.tree)
    open(suite.log, "w").close()
    if not suite.configure() or not suite.compile():
        sys.exit("the unmutated tree does not build; see %s" % suite.log)
    rc, secs = suite.test()
    if rc != 0:
        sys.exit("the unmutated suite fails (%s); see %s" % (", ".join(failed_tests(suite.log))
                                                           or "exit %s" % rc, suite.log))
    print("baseline: builds and passes (tests %.0f s)" % secs, flush=True)

    order = sorted(mutants, key=lambda m: m.file)  # stable: list order within a file
    complete = False
    try:
        for n, m in enumerate(order, 1):
            start = time.time()
            why_not = applicability(m, suite.tree)
            if why_not:
                m.status, m.detail = "stale", why_not
            else:
                path = os.path.join(suite.tree, m.file)
                with open(path, "rb") as f:
                    original = f.read()
                text = original.decode("utf-8", "surrogateescape")
                try:
                    with open(path, "wb") as f:
                        f.write(text.replace(m.find, m.repl, 1).encode("utf-8", "surrogateescape"))
                    open(suite.log, "w").close()
                    if not suite.compile():
                        m.status, m.detail = "invalid", "does not build"
                    else:
                        rc, _ = suite.test()
                        if rc == 0:
                            m.status = "survived"
                        else:
                            m.status = "caught"
                            m.detail = ", ".join(failed_tests(suite.log)) or \
                                ("timeout" if rc is None else "exit %d" % rc)
                            if args.every_test:
                                m.cases = failed_cases(suite.log)
                                m.detail = " ".join(m.cases) or m.detail
                finally:
                    with open(path, "wb") as f:
                        f.write(original)
            m.seconds = time.time() - start
            print("[%3d/%d] %-8s %-13s %-16s %s (%.0f s)%s" % (
                n, len(order), m.status, m.id, m.area, m.why, m.seconds,
                "  [%s]" % m.detail if m.detail and m.status != "caught" else ""), flush=True)
        complete = True
    except KeyboardInterrupt:
        print("\ninterrupted; the scratch tree is restored", flush=True)
    finally:
        write_report(report, mutants, started, time.time() - t0, complete)
    print()
    for line in summary_lines([m for m in mutants if m.status]):
        print(line)
    survivors = [m for m in mutants if m.status == "survived"]
    if survivors:
        print("\nsurvivors:")
        for m in survivors:
            print("  %-13s %-40s %s" % (m.id, m.file, m.why))
    print("\nreport: %s (%.0f min)" % (report, (time.time() - t0) / 60))
    return 0 if complete else 130


if __name__ == "__main__":
    sys.exit(main())
