#!/usr/bin/env python3
"""Prints the size of the test code against the code it tests: non-blank,
non-comment lines of C and C++ sources (.c .cc .cpp .h .hpp) under tests/ and
fuzz/ against all other such files in the repository (build trees excluded).

    tools/test_ratio.py            # "test ratio: 0.50 (4705 test and fuzz lines / 9351 other lines)"
    tools/test_ratio.py --files    # the count of every file as well
"""

import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EXTENSIONS = (".c", ".cc", ".cpp", ".h", ".hpp")
TEST_DIRS = ("tests", "fuzz")


def source_files(root):
    """Tracked and untracked-but-not-ignored files; a plain walk without git."""
    try:
        out = subprocess.run(
            ["git", "-C", root, "ls-files", "--cached", "--others", "--exclude-standard", "-z"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True).stdout
        names = [n for n in out.decode("utf-8", "replace").split("\0") if n]
    except (OSError, subprocess.CalledProcessError):
        names = []
        for here, dirs, files in os.walk(root):
            rel = os.path.relpath(here, root)
            dirs[:] = [d for d in dirs if d not in (".git", "out")
                       and not (rel == "." and d.startswith("build"))]
            names += [os.path.normpath(os.path.join(rel, f)) for f in files]
    return sorted(n for n in names
                  if n.endswith(EXTENSIONS) and os.path.isfile(os.path.join(root, n)))


def code_lines(text):
    """Lines holding something besides white space and comments."""
    count = 0
    in_block = False
    for line in text.splitlines():
        code = False
        i, n = 0, len(line)
        quote = None
        while i < n:
            c = line[i]
            if in_block:
                if line.startswith("*/", i):
                    in_block = False
                    i += 2
                    continue
                i += 1
                continue
            if quote:
                if c == "\\":
                    i += 2
                    continue
                if c == quote:
                    quote = None
                i += 1
                continue
            if line.startswith("//", i):
                break
            if line.startswith("/*", i):
                in_block = True
                i += 2
                continue
            if not c.isspace():
                code = True
                if c in "\"'":
                    quote = c
            i += 1
        count += code
    return count


def main():
    show_files = "--files" in sys.argv[1:]
    tests = other = 0
    for name in source_files(ROOT):
        with open(os.path.join(ROOT, name), encoding="utf-8", errors="replace") as f:
            n = code_lines(f.read())
        is_test = name.split("/")[0] in TEST_DIRS
        if is_test:
            tests += n
        else:
            other += n
        if show_files:
            print("%6d %s %s" % (n, "test" if is_test else "code", name))
    ratio = tests / other if other else 0.0
    print("test ratio: %.2f (%d test and fuzz lines / %d other lines)" % (ratio, tests, other))


if __name__ == "__main__":
    main()
