#!/usr/bin/env python3
"""End-to-end checks of the quarnel tool: run it, compare what it prints.

usage: tool_test.py PATH_TO_QUARNEL
"""
import json
import subprocess
import sys
import tempfile

TOOL = sys.argv[1]

# (arguments, standard input, expected standard output, exit status, text expected on stderr)
CASES = [
    (["sep", "-"], "a,b,c\n,x\na,,b,\n", "a | b | c\n | x\na |  | b\n", 0, ""),
    (["sep", "-t", "-d", ";", "-"], " a ; b \r\n", "a | b\n", 0, ""),
    (["sep", "-d", "\\t", "-f", "tsv", "-"], "a\tb\\c\n", "a\tb\\\\c\n", 0, ""),
    (["sep", "-f", "jsonl", "-"], 'q"x,\x01\n', '["q\\"x","\\u0001"]\n', 0, ""),
    (["fixed", "-w", "3,2,4", "-"], "ABCDEFGHI\nABCD\n\n", "ABC | DE | FGHI\nABC | D | \n |  | \n", 0, ""),
    (["fixed", "-w", "2,-1", "-"], "ABCDE\n", "AB | CDE\n", 0, ""),
    (["columns", "-c", "1-3,5-6", "-"], "ABCDEFG\n", "ABC | EF\n", 0, ""),
    (["named", "-t", "-"], "port = 8080\nnone\n=v\n", "port | 8080\n | v\n", 0, "1 line without '=' skipped"),
    (["named", "-d", ":", "-f", "jsonl", "-"], "k:v:w\n", '["k","v:w"]\n', 0, ""),
    (["sep"], "", None, 0, ""),                       # the bundled sample
    (["sep", "--help"], "", None, 0, ""),
    (["frobnicate"], "", "", 2, "unknown command"),
    (["sep", "--nope"], "", "", 2, "unknown option '--nope'"),
    (["sep", "-d", "ab", "-"], "", "", 2, "one character"),
    (["fixed", "-w", "3,x", "-"], "", "", 2, "bad width list"),
    (["fixed", "somefile"], "", "", 2, "--widths is required"),
    (["columns", "-c", "3", "-"], "", "", 2, "bad column list"),
    (["sep", "-f", "xml", "-"], "", "", 2, "text, tsv or jsonl"),
    (["sep", "/nonexistent/input"], "", "", 1, "cannot open '/nonexistent/input'"),
]


def main():
    failures = 0
    for args, stdin, want_out, want_status, want_err in CASES:
        run = subprocess.run([TOOL, *args], input=stdin.encode("latin-1"), capture_output=True)
        out = run.stdout.decode("utf-8")
        err = run.stderr.decode("utf-8", "replace")
        problems = []
        if run.returncode != want_status:
            problems.append(f"exit status {run.returncode}, expected {want_status}")
        if want_out is not None and out != want_out:
            problems.append(f"stdout {out!r}, expected {want_out!r}")
        if want_out is None and not out:
            problems.append("printed nothing")
        if want_err not in err:
            problems.append(f"stderr {err!r} lacks {want_err!r}")
        if problems:
            failures += 1
            print(f"FAIL quarnel {' '.join(args)}: " + "; ".join(problems))

    # JSON output is valid UTF-8 JSON for ANSI (1252) bytes beyond ASCII.
    with tempfile.NamedTemporaryFile(suffix=".csv") as f:
        f.write("caf\xe9,\x80 5\n".encode("latin-1"))
        f.flush()
        run = subprocess.run([TOOL, "sep", "-f", "jsonl", f.name], capture_output=True,
                             env={"QUARNEL_ACP": "1252"})
        if json.loads(run.stdout) != ["caf\u00e9", "\u20ac 5"]:
            failures += 1
            print(f"FAIL jsonl decoding: {run.stdout!r}")

    total = len(CASES) + 1
    print(f"{total - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
