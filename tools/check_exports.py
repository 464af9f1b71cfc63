#!/usr/bin/env python3
"""Checks the export table against the public header.

  check_exports.py HEADER DEF [--sources DIR] [--objdump FILE] [--nm FILE]

* every function the header declares is in the .def and nothing else is;
* each stdcall entry's @N is 4 x its argument count in 32-bit words (a
  double or 64-bit integer counts twice); `_` (caller-cleans) entries have
  no decoration;
* with --sources (the export folder): each function is defined there once,
  and every definition crosses the boundary (QUARNEL_BOUNDARY, or
  QUARNEL_BOUNDARY_STATE for the failure-state functions), which guards the
  call unless it cannot throw and checks handles in checked-handles mode;
* with --objdump (the output of `objdump -p` on the i686 DLL): the DLL
  exports exactly the plain, undecorated names, imports nothing but system
  DLLs, and takes the OLE Automation functions by ordinal;
* with --nm (the output of `nm` on the import library): stdcall callers find
  each function under its decorated name _Name@N.
"""
import argparse
import glob
import os
import re
import sys

WIDE_TYPES = re.compile(r"\b(double|int64_t|uint64_t|long\s+long)\b")


def header_declarations(path):
    """Yields (name, convention, result type, [(argument type, name)]) for
    each function the header declares, in header order; a variadic tail is
    the argument ("...", "")."""
    text = open(path, encoding="utf-8").read()
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    decl = re.compile(r"QUARNEL_EXPORT\s+([^;]*?)\b(QUARNEL_API|QUARNEL_CDECL)\s+(\w+)\s*\(([^)]*)\)\s*;")
    for m in decl.finditer(text):
        result, conv, name, args = m.group(1), m.group(2), m.group(3), m.group(4).strip()
        params = []
        if args and args != "void":
            for arg in args.split(","):
                arg = " ".join(arg.replace("*", "* ").split())
                if arg == "...":
                    params.append(("...", ""))
                    continue
                ctype, _, pname = arg.rpartition(" ")
                params.append((ctype.replace(" *", "*"), pname))
        yield name, conv, " ".join(result.replace("*", "* ").split()).replace(" *", "*"), params


def header_functions(path):
    funcs = {}
    for name, conv, _, params in header_declarations(path):
        words = sum(2 if WIDE_TYPES.search(t) and "*" not in t else 1
                    for t, _ in params if t != "...")
        funcs[name] = (conv, 4 * words)
    return funcs


BOUNDARY = re.compile(r"\{ (?:.*; )?return QUARNEL_BOUNDARY(?:_STATE)?\(.*\); \}$")


def boundary_problems(folder, funcs):
    """Definitions in the export folder that bypass the boundary."""
    problems, defined = [], {}
    for path in sorted(glob.glob(os.path.join(folder, "*.cpp"))):
        for number, line in enumerate(open(path, encoding="utf-8"), 1):
            m = re.match(r"QUARNEL_EXPORT\s.*?\b(\w+)\([^)]*\)\s*\{", line)
            if not m:
                continue
            where = f"{os.path.basename(path)}:{number}"
            defined[m.group(1)] = defined.get(m.group(1), 0) + 1
            if not BOUNDARY.search(line.rstrip()):
                problems.append(f"{m.group(1)} ({where}): does not cross the export boundary")
    for name in sorted(funcs):
        if defined.get(name, 0) != 1:
            problems.append(f"{name}: defined {defined.get(name, 0)} times in {folder}")
    return problems


def def_entries(path):
    entries = {}
    in_exports = False
    for line in open(path, encoding="utf-8"):
        line = line.split(";")[0].strip()
        if not line:
            continue
        if line.upper() == "EXPORTS":
            in_exports = True
            continue
        if not in_exports or line.upper().startswith("LIBRARY"):
            continue
        name = line.split()[0]
        m = re.fullmatch(r"(\w+)@(\d+)", name)
        entries[m.group(1) if m else name] = int(m.group(2)) if m else None
    return entries


SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll", "oleaut32.dll", "user32.dll", "advapi32.dll",
               "ntdll.dll"}


def dll_imports(path):
    """Maps each imported DLL to the list of its import entries."""
    imports, current = {}, None
    for line in open(path, encoding="utf-8", errors="replace"):
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            current = m.group(1).lower()
            imports[current] = []
        elif not line.strip():
            if current and imports[current]:
                current = None
        elif current and re.match(r"\s+[0-9a-f]+\s+\d+\s+<none>", line):
            imports[current].append("ordinal")
        elif current and re.match(r"\s+[0-9a-f]+\s+\d+\s+\S+", line):
            imports[current].append(line.split()[-1])
    return imports


def dll_exports(path):
    names, in_table = set(), False
    for line in open(path, encoding="utf-8", errors="replace"):
        if "[Ordinal/Name Pointer] Table" in line:
            in_table = True
            continue
        if in_table:
            m = re.match(r"\s*\[\s*\d+\]\s+(\S+)", line)
            if m:
                names.add(m.group(1))
            elif line.strip():
                in_table = False
    return names


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("header")
    parser.add_argument("deffile")
    parser.add_argument("--sources")
    parser.add_argument("--objdump")
    parser.add_argument("--nm")
    args = parser.parse_args()
    funcs = header_functions(args.header)
    entries = def_entries(args.deffile)
    errors = []
    for name, (conv, size) in sorted(funcs.items()):
        if name not in entries:
            errors.append(f"{name}: declared in the header, missing from the .def")
        elif conv == "QUARNEL_API" and entries[name] != size:
            errors.append(f"{name}: .def says @{entries[name]}, header arguments make @{size}")
        elif conv == "QUARNEL_CDECL" and entries[name] is not None:
            errors.append(f"{name}: caller-cleans export must not carry @N")
        if conv == "QUARNEL_CDECL" and not name.startswith("_"):
            errors.append(f"{name}: caller-cleans exports are the ones starting with '_'")
        if conv == "QUARNEL_API" and name.startswith("_"):
            errors.append(f"{name}: names starting with '_' must be caller-cleans")
    for name in sorted(set(entries) - set(funcs)):
        errors.append(f"{name}: in the .def but not declared in the header")
    if args.sources:
        errors += boundary_problems(args.sources, funcs)
    if args.objdump:
        exported = dll_exports(args.objdump)
        for name in sorted(set(funcs) - exported):
            errors.append(f"{name}: not exported by the DLL under its plain name")
        for name in sorted(exported - set(funcs)):
            errors.append(f"{name}: exported by the DLL but not declared in the header")
        imports = dll_imports(args.objdump)
        for dll in sorted(set(imports) - SYSTEM_DLLS):
            errors.append(f"the DLL depends on {dll}, which is not a system DLL")
        named = [n for n in imports.get("oleaut32.dll", []) if n != "ordinal"]
        if named:
            errors.append(f"OLE Automation imported by name, not ordinal: {named}")
        print("check_exports: imports " + ", ".join(
            f"{dll} ({len(entries_)})" for dll, entries_ in sorted(imports.items())))
    if args.nm:
        symbols = set(re.findall(r"\b(\w+@\d+)\b", open(args.nm).read()))
        for name, (conv, size) in sorted(funcs.items()):
            if conv == "QUARNEL_API" and f"_{name}@{size}" not in symbols:
                errors.append(f"{name}: import library lacks _{name}@{size}")
    for e in errors:
        print("check_exports:", e, file=sys.stderr)
    print(f"check_exports: {len(funcs)} exports checked, {len(errors)} problems")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
