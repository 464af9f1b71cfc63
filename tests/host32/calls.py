#!/usr/bin/env python3
"""Writes the 32-bit host's table of every export from the public header.

Each row names the export, takes its address through the import table, and
spells its parameters and result as letters that the host turns into
argument words (see host.c). A parameter type without a letter stops the
build, so a new export cannot slip past the host's stack checks.

usage: calls.py quarnel.h calls.h
"""
import re
import sys

PARAMETERS = {
    "LStrHandleA": "a", "LStrHandleW": "w", "int": "i", "char": "c", "LWideChar": "c",
    "bool": "i", "double": "d", "int64_t": "q", "uint64_t": "q", "const char*": "s",
    "const LWideChar*": "t", "LWideChar*": "W", "char*": "W", "const int*": "n", "const double*": "D",
    "const CLAnsiStr*": "x", "const CLWideStr*": "y", "CLAnsiStr*": "X", "CLWideStr*": "Y",
    "CLAnsiStrList*": "L", "CLWideStrList*": "M", "void*": "m", "va_list": "l", "...": "e",
}
RESULTS = {"LStrHandleA": "a", "LStrHandleW": "w", "double": "f"}

PROTOTYPE = re.compile(
    r"QUARNEL_EXPORT\s+([^;]*?)\s+QUARNEL_(API|CDECL)\s+(\w+)\(([^)]*)\);")


def letters(parameters, name):
    out = ""
    for p in parameters.split(","):
        p = " ".join(p.split())
        if p == "void":
            continue
        kind = p if p == "..." else re.sub(r"\s*\w+$", "", p).replace(" *", "*")
        if kind not in PARAMETERS:
            sys.exit(f"calls.py: {name}: no argument for parameter type '{kind}'")
        out += PARAMETERS[kind]
    return out


def main():
    header, target = sys.argv[1:3]
    rows = []
    for result, convention, name, parameters in PROTOTYPE.findall(open(header).read()):
        rows.append('  {"%s", (Entry)%s, "%s", \'%s\', %d},' %
                    (name, name, letters(parameters, name), RESULTS.get(result, "o"),
                     convention == "CDECL"))
    if len(rows) < 100:
        sys.exit(f"calls.py: only {len(rows)} exports found in {header}")
    with open(target, "w") as f:
        f.write("/* Written by calls.py from quarnel.h. */\n")
        f.write("#define HOST_EXPORTS \\\n" + " \\\n".join(rows) + "\n")


main()
