#!/usr/bin/env python3
"""Checks the export table against the public header.

  check_exports.py HEADER DEF [--docs] [--sources DIR] [--objdump FILE] [--nm FILE]

* every function the header declares is in the .def and nothing else is;
* each stdcall entry's @N is 4 x its argument count in 32-bit words (a
  double or 64-bit integer counts twice); `_` (caller-cleans) entries have
  no decoration;
* with --docs: every export's comment (the one above its group of
  declarations) states its parameters, its return value, who frees what it
  returns, what it does on failure and, where positions occur, the index
  base, under the headings Arguments, Returns, Ownership, Failure and Index
  base; prints how many exports lack each;
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

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import doc_header  # noqa: E402

WIDE_TYPES = re.compile(r"\b(double|int64_t|uint64_t|long\s+long)\b")


def header_declarations(path):
    """Yields (name, convention, result type, [(argument type, name)]) for
    each function the header declares, in header order; a variadic tail is
    the argument ("...", "")."""
    text = open(path, encoding="utf-8").read()
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    # Anything between the argument list and the semicolon (a format
    # attribute, say) is not part of the signature.
    decl = re.compile(r"QUARNEL_EXPORT\s+([^;]*?)\b(QUARNEL_API|QUARNEL_CDECL)\s+(\w+)\s*\(([^)]*)\)[^;]*;")
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


HEADINGS = ("Arguments", "Returns", "Ownership", "Failure", "Index base")
ASPECTS = ("parameters", "return value", "ownership", "failure", "index base")
HEADING = re.compile(r"^(" + "|".join(HEADINGS) + r"):\s*(.*)$")
POSITION_PARAMS = {"pos", "position", "columns"}
RETURNS_POSITION = re.compile(r"Pos(Ptr)?[AW]$|LastDelimiter[AW]$")


def comment_headings(lines, start):
    """The headed paragraphs of the comment starting at lines[start]: heading
    to text. A paragraph runs on over indented lines."""
    found, current = {}, None
    for line in lines[start:]:
        closing = "*/" in line
        text = re.sub(r"^\s*/?\*+", "", line.replace("*/", ""), count=1)
        m = HEADING.match(text.strip()) if text.startswith(" ") else None
        if m and not text.startswith("  "):
            current = m.group(1)
            found[current] = m.group(2)
        elif current and text.startswith("   ") and text.strip():
            found[current] += " " + text.strip()
        else:
            current = None
        if closing:
            break
    return found


def documentation_gaps(path):
    """Maps each export to the aspects its comment leaves out, and counts the
    exports where positions occur."""
    lines = open(path, encoding="utf-8").read().split("\n")
    decls = {name: (result, params) for name, _, result, params in header_declarations(path)}
    gaps, positional = {}, 0
    for _, name, comment, _ in doc_header.groups(lines):
        result, params = decls[name]
        heads = comment_headings(lines, comment) if comment is not None else {}
        missing = []
        args = heads.get("Arguments")
        names = [p for _, p in params if p]
        if args is None or any(not re.search(rf"\b{re.escape(p)}\b", args) for p in names):
            missing.append("parameters")
        if not heads.get("Returns"):
            missing.append("return value")
        owner = heads.get("Ownership", "")
        need = ["LStrDestroyA"] if "LStrHandleA" in result else (
            ["LStrDestroyW"] if "LStrHandleW" in result else [])
        if (not owner or any(n not in owner for n in need) or
                ("*" in result or result == "LBSTR") and not need and
                not re.search(r"borrowed|LStrHeapFree|caller's", owner)):
            missing.append("ownership")
        failure = heads.get("Failure", "")
        if not re.search(r"QUARNEL_EXCEPTION_\w+|never fails", failure):
            missing.append("failure")
        if POSITION_PARAMS & set(names) or RETURNS_POSITION.search(name):
            positional += 1
            if not heads.get("Index base"):
                missing.append("index base")
        gaps[name] = missing
    return gaps, positional


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
    parser.add_argument("--docs", action="store_true")
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
    if args.docs:
        gaps, positional = documentation_gaps(args.header)
        for name, missing in gaps.items():
            if missing:
                errors.append(f"{name}: its comment does not state its " + ", ".join(missing) +
                              " (headings " + ", ".join(HEADINGS) + ")")
        counts = {a: sum(a in m for m in gaps.values()) for a in ASPECTS}
        print(f"check_exports: documentation of {len(gaps)} exports, missing: " +
              ", ".join(f"{a} {counts[a]}" for a in ASPECTS) +
              f" (of {positional} with positions); "
              f"{sum(bool(m) for m in gaps.values())} exports lack at least one")
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
