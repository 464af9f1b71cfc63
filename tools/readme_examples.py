#!/usr/bin/env python3
"""Runs the examples of the READMEs as written, against a built tree.

  readme_examples.py [--build DIR] [--keep] [FILE.md ...]

Files: README.md and bindings/*/README.md unless named. In each:

* a fenced block tagged c, cpp, python, csharp or pascal is a complete
  program: it is compiled (C and C++ against the build tree's headers and
  library, C# with mcs beside bindings/dotnet/Quarnel.cs, Pascal with fpc
  and the unit in bindings/pascal) and run from the repository root;
  Python runs with bindings/python on PYTHONPATH;
* in a block tagged sh, every line that invokes a built tool (build/quarnel,
  build/quarnel-rcstrings) is run by bash from the repository root, standard
  input a terminal as for a user who types it; each command of a pipeline
  must succeed, one stopped by SIGPIPE (a later head closed the pipe) aside; the other parts of a line
  joined by && (the set-up commands: tools/setup.sh, the cmake build) are
  left out, the build being done before any example runs;
* a block tagged text directly after one of those (blank lines between
  allowed) is the output expected on standard output, compared line by line
  (trailing blanks ignored);
* the line <!-- not run: REASON --> just before a block skips it, saying so.

Without FILE arguments it also checks CHANGELOG.md's rule: its newest
release is the version that build/quarnel --version reports.

Every program finds the library as the READMEs say: LD_LIBRARY_PATH holds the
build tree's library folder and QUARNEL_LIBRARY names the library itself.
A program must build within ten minutes and run to status 0 within one. Prints one line per example,
the reasons of each failure (file, line, block) and "N passed, N failed".
"""
import argparse
import difflib
import glob
import os
import pty
import re
import shutil
import signal
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LANGUAGES = {"c", "cpp", "python", "csharp", "pascal"}
FENCE = re.compile(r"^(\s*)(`{3,}|~{3,})\s*([\w+-]*)")
NOT_RUN = re.compile(r"^\s*<!--\s*not run:\s*(.*?)\s*-->\s*$")
TOOL = re.compile(r"(?:^|[\s|;&(`])build/quarnel(?:-rcstrings)?(?:\s|$)")
TIMEOUT = 60  # for a run
BUILD_TIMEOUT = 600  # for a compiler, on a loaded machine


def shown(path):
    """A path as messages give it: from the repository root when inside it."""
    rel = os.path.relpath(path, ROOT)
    return path if rel.startswith("..") else rel


class Block:
    def __init__(self, path, line, tag, text, skip):
        self.path, self.line, self.tag, self.text, self.skip = path, line, tag, text, skip
        self.expected = None  # (line, text) of the text block that follows

    def where(self):
        return f"{shown(self.path)}:{self.line}"


def blocks(path):
    """The fenced blocks of a Markdown file, each with the text block that
    directly follows it attached as its expected output."""
    lines = open(path, encoding="utf-8").read().split("\n")
    found, i, skip, last = [], 0, None, None
    while i < len(lines):
        m = FENCE.match(lines[i])
        if not m:
            n = NOT_RUN.match(lines[i])
            if n:
                skip = n.group(1) or "no reason given"
            elif lines[i].strip():
                skip, last = None, None
            i += 1
            continue
        indent, fence, tag = m.group(1), m.group(2), m.group(3).lower()
        start, body = i + 1, []
        i += 1
        while i < len(lines) and not lines[i].strip().startswith(fence):
            body.append(lines[i][len(indent):] if lines[i].startswith(indent) else lines[i])
            i += 1
        if i == len(lines):
            raise SystemExit(f"{shown(path)}:{start}: unclosed ``` block")
        i += 1
        text = "\n".join(body) + "\n"
        if tag == "text" and last is not None and last.expected is None:
            last.expected = (start, text)
            if skip:
                last.skip = last.skip or skip
            last = None
        else:
            block = Block(path, start, tag, text, skip)
            found.append(block)
            last = block
        skip = None
    return found


def normalise(text):
    return [line.rstrip() for line in text.rstrip("\n").split("\n")] if text.strip() else []


class Runner:
    def __init__(self, build, work):
        self.build, self.work = build, work
        self.lib = os.path.join(build, "src")
        env = dict(os.environ)
        env["LD_LIBRARY_PATH"] = self.lib + (":" + env["LD_LIBRARY_PATH"]
                                             if env.get("LD_LIBRARY_PATH") else "")
        libs = sorted(glob.glob(os.path.join(self.lib, "libquarnel.so*")))
        if libs:
            env["QUARNEL_LIBRARY"] = os.path.realpath(libs[0])
        env["PYTHONPATH"] = os.path.join(ROOT, "bindings", "python") + (
            ":" + env["PYTHONPATH"] if env.get("PYTHONPATH") else "")
        env.pop("QUARNEL_CHECK_HANDLES", None)
        self.env = env

    def run(self, argv, what, shell=False, tty=False, timeout=TIMEOUT):
        """Runs argv from the repository root; returns (problems, stdout)."""
        master = slave = None
        stdin = subprocess.DEVNULL
        if tty:
            master, slave = pty.openpty()
            stdin = slave
        if shell:
            # Every command of a pipeline must succeed (pipefail), except one
            # ended by SIGPIPE because a later command such as head stopped
            # reading: that is how a filter's run ends there.
            argv = ["bash", "-o", "pipefail", "-c", argv]
        try:
            p = subprocess.run(argv, cwd=ROOT, env=self.env, stdin=stdin,
                               capture_output=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            return [f"{what}: still running after {timeout} s, stopped"], ""
        except OSError as e:
            return [f"{what}: cannot start: {e}"], ""
        finally:
            for fd in (master, slave):
                if fd is not None:
                    os.close(fd)
        out = p.stdout.decode("utf-8", "replace")
        if p.returncode != 0 and not (shell and p.returncode == 128 + signal.SIGPIPE):
            err = p.stderr.decode("utf-8", "replace").strip()
            status = (f"killed by signal {-p.returncode}" if p.returncode < 0
                      else f"exit status {p.returncode}")
            detail = "\n".join("    " + s for s in (err or out.strip() or "(no output)")
                               .split("\n")[-25:])
            return [f"{what}: {status}\n{detail}"], out
        return [], out

    def source(self, block, suffix, name=None):
        stem = re.sub(r"[^\w]+", "_", shown(block.path)).strip("_") + f"_L{block.line}"
        folder = os.path.join(self.work, stem)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        path = os.path.join(folder, (name or "example") + suffix)
        with open(path, "w", encoding="utf-8") as f:
            f.write(block.text)
        return folder, path

    def native(self, block, compiler, std):
        folder, src = self.source(block, ".c" if block.tag == "c" else ".cpp")
        exe = os.path.join(folder, "example")
        includes = [os.path.join(ROOT, "include")]
        built = os.path.join(self.build, "include")
        if os.path.isdir(built):
            includes.append(built)
        argv = [compiler, f"-std={std}", "-Wall", "-Wextra", "-Werror"]
        argv += [f"-I{d}" for d in includes]
        argv += [src, "-o", exe, f"-L{self.lib}", "-lquarnel", f"-Wl,-rpath,{self.lib}"]
        problems, _ = self.run(argv, f"compiling ({compiler} -std={std} -Wall -Wextra -Werror)",
                               timeout=BUILD_TIMEOUT)
        if problems:
            return problems, ""
        return self.run([exe], "running")

    def c(self, block):
        return self.native(block, os.environ.get("CC", "cc"), "c11")

    def cpp(self, block):
        return self.native(block, os.environ.get("CXX", "c++"), "c++17")

    def python(self, block):
        _, src = self.source(block, ".py")
        return self.run([os.environ.get("PYTHON", "python3"), src], "running (python3)")

    def csharp(self, block):
        folder, src = self.source(block, ".cs")
        exe = os.path.join(folder, "example.exe")
        dotnet = os.path.join(ROOT, "bindings", "dotnet")
        # As a user builds it: the binding's assembly with the mapping file it
        # ships with beside it (mono finds the shared library through it).
        assembly = os.path.join(folder, "Quarnel.Net.dll")
        shutil.copy(os.path.join(dotnet, "Quarnel.Net.dll.config"), folder)
        for command, what in (
                (["mcs", "-nologo", "-target:library", f"-out:{assembly}",
                  os.path.join(dotnet, "Quarnel.cs")], "compiling the binding (mcs)"),
                (["mcs", "-nologo", f"-r:{assembly}", f"-out:{exe}", src], "compiling (mcs)")):
            problems, _ = self.run(command, what, timeout=BUILD_TIMEOUT)
            if problems:
                return problems, ""
        return self.run(["mono", exe], "running (mono)")

    def pascal(self, block):
        folder, src = self.source(block, ".pas")
        unit = os.path.join(ROOT, "bindings", "pascal")
        problems, _ = self.run(["fpc", "-vew", f"-Fu{unit}", f"-FU{folder}", f"-FE{folder}",
                                f"-Fl{self.lib}", f"-k-rpath={self.lib}", src],
                               "compiling (fpc)", timeout=BUILD_TIMEOUT)
        if problems:
            return problems, ""
        return self.run([os.path.join(folder, "example")], "running")

    def sh(self, block):
        """Runs the block's lines that invoke a built tool; None when it has none."""
        problems, output, ran = [], "", 0
        lines = block.text.split("\n")
        n = 0
        while n < len(lines):
            first, line = n, lines[n]
            while line.endswith("\\") and n + 1 < len(lines):
                n += 1
                line = line[:-1] + " " + lines[n]
            n += 1
            parts = [p.strip() for p in line.split("&&")]
            wanted = [p for p in parts if TOOL.search(" " + p)]
            if not wanted:
                continue
            command = " && ".join(wanted)
            ran += 1
            found, out = self.run(command, f"line {block.line + 1 + first}: {command}",
                                  shell=True, tty=True)
            problems += found
            output += out
        if not ran:
            return None
        return problems, output


def check(runner, block):
    """Returns (status, problems): status is pass, fail, skip or None (not an
    example)."""
    if block.tag not in LANGUAGES and block.tag != "sh":
        return None, []
    if block.tag == "sh" and not TOOL.search(" " + block.text):
        return None, []
    if block.skip:
        return "skip", [f"not run: {block.skip}"]
    result = getattr(runner, block.tag)(block)
    if result is None:
        return None, []
    problems, out = result
    if not problems and block.expected is not None:
        want_line, want = block.expected
        expected, actual = normalise(want), normalise(out)
        if expected != actual:
            diff = difflib.unified_diff(expected, actual, f"expected (text block, line {want_line})",
                                        "actual output", lineterm="", n=2)
            problems.append("output differs:\n" + "\n".join("    " + d for d in diff))
    return ("fail" if problems else "pass"), problems


def changelog_problems(build):
    """CHANGELOG.md's own rule: every release heading is "## [VERSION] -
    YYYY-MM-DD" and the newest one is the version quarnel --version gives."""
    path = os.path.join(ROOT, "CHANGELOG.md")
    problems, releases = [], []
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        if not line.startswith("## "):
            continue
        if line.strip() == "## [Unreleased]":
            continue
        m = re.fullmatch(r"## \[(\d+\.\d+\.\d+)\] - (\d{4}-\d{2}-\d{2})\s*", line)
        if not m:
            problems.append(f"CHANGELOG.md:{number}: a release heading must read "
                            f"'## [VERSION] - YYYY-MM-DD': {line.strip()}")
        else:
            releases.append((number, m.group(1)))
    try:
        said = subprocess.run([os.path.join(build, "quarnel"), "--version"], capture_output=True,
                              text=True, timeout=TIMEOUT).stdout.split()
    except OSError as e:
        said = []
        problems.append(f"build/quarnel --version: {e}")
    version = said[-1] if said else "(nothing)"
    if not releases:
        problems.append("CHANGELOG.md: no release")
    elif releases[0][1] != version:
        problems.append(f"CHANGELOG.md:{releases[0][0]}: the newest release is {releases[0][1]}, "
                        f"quarnel --version says {version}")
    return problems


def ensure_build(build):
    """Makes sure the build folder holds the library and the tools, current
    with the sources: configured as the README's first command does when it
    is not yet, then brought up to date (only those targets)."""
    jobs = os.environ.get("JOBS", "2")
    if not os.path.exists(os.path.join(build, "CMakeCache.txt")):
        print(f"readme: configuring {shown(build)} (cmake -S . -B build)", flush=True)
        if subprocess.run(["cmake", "-S", ROOT, "-B", build], cwd=ROOT).returncode != 0:
            return False
    return subprocess.run(["cmake", "--build", build, "-j", jobs, "--target", "quarnel",
                           "quarnel_tool", "quarnel_rcstrings"], cwd=ROOT).returncode == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("files", nargs="*")
    parser.add_argument("--build", default=os.path.join(ROOT, "build"),
                        help="the build folder (default: build, built when absent)")
    parser.add_argument("--work", help="where the example programs are built "
                        "(default: BUILD/readme-examples)")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    files = [os.path.abspath(f) for f in args.files] or (
        [os.path.join(ROOT, "README.md")] +
        sorted(glob.glob(os.path.join(ROOT, "bindings", "*", "README.md"))))
    if not ensure_build(build):
        print("readme: the build failed\n0 passed, 1 failed")
        return 1
    runner = Runner(build, os.path.abspath(args.work or os.path.join(build, "readme-examples")))
    counts = {"pass": 0, "fail": 0, "skip": 0}
    failures = []
    for path in files:
        for block in blocks(path):
            status, problems = check(runner, block)
            if status is None:
                continue
            counts[status] += 1
            label = {"pass": "ok  ", "fail": "FAIL", "skip": "skip"}[status]
            note = f"  ({problems[0]})" if status == "skip" else ""
            print(f"{label} {block.where()} {block.tag}{note}", flush=True)
            if status == "fail":
                failures.append((block, problems))
    if not args.files:
        problems = changelog_problems(build)
        counts["fail" if problems else "pass"] += 1
        print(f"{'FAIL' if problems else 'ok  '} CHANGELOG.md: newest release against "
              "quarnel --version", flush=True)
        for p in problems:
            print("  " + p)
    for block, problems in failures:
        print(f"\n{block.where()}: the {block.tag} block starting on this line failed:")
        for p in problems:
            print("  " + p)
    print(f"\nreadme: {counts['skip']} skipped (marked not run)")
    print(f"{counts['pass']} passed, {counts['fail']} failed")
    return 1 if counts["fail"] else 0


if __name__ == "__main__":
    sys.exit(main())
