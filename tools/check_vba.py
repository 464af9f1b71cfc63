#!/usr/bin/env python3
"""Checks the VBA module's Declare statements against the library's exports.

  check_vba.py [--header H] [--def D] [--nm FILE] [--module M] [--write]

VBA cannot run here, so its declarations are checked by reading them. The
module bindings/vba/Quarnel.bas declares every stdcall export twice: for VBA7
(32- and 64-bit Office: PtrSafe, LongPtr) and for older 32-bit hosts (VB6,
Office 2007: Long). For every declaration of every branch this script

* works out how many bytes the call pushes on a 32-bit stack: ByVal Byte,
  Integer, Boolean, Long, LongPtr, Single and String take 4 bytes, ByVal
  Double, Currency and LongLong 8, ByVal Variant 16, anything ByRef (the
  default when neither is written) 4; and compares the sum with the @N of the
  export table (src/exports/Quarnel.def, or with --nm the symbols of the
  import library that the i686 build makes, _Name@N);
* compares each argument, and the result, with the C type the header gives
  it: a 64-bit integer must be Currency or LongLong, a C bool result a Byte
  (a VBA Boolean would read 16 bits of which C sets 8), a character a Byte or
  an Integer, a pointer a LongPtr (Long in the old branch), a String or the
  matching ByRef type, and so on;
* checks that each branch declares exactly the header's stdcall exports and
  that the module names every caller-cleans export it cannot declare;
* reads every call of the library in the class modules beside the module
  (*.cls) and fails on a name that is not declared or a call with another
  number of arguments than its Declare takes.

The Declare block between the markers is generated from the header; --write
regenerates it, and without --write a block out of step fails too. Any
difference makes the exit status 1.
"""
import argparse
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_bindings import header_summaries  # noqa: E402
from check_exports import def_entries, header_declarations  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BEGIN = "' BEGIN GENERATED DECLARES"
END = "' END GENERATED DECLARES"

# ---- Generation ----------------------------------------------------------------

HANDLES = {"LStrHandleA", "LStrHandleW"}
BYVAL = {
    "int": "Long", "unsigned": "Long", "unsigned int": "Long", "uint32_t": "Long",
    "bool": "Boolean", "char": "Byte", "LWideChar": "Integer", "double": "Double",
    "int64_t": "Currency", "uint64_t": "Currency", "const char*": "String", "char*": "String",
}
BYREF = {"const CLAnsiStr*": "CLAnsiStr", "CLAnsiStr*": "CLAnsiStr",
         "const CLWideStr*": "CLWideStr", "CLWideStr*": "CLWideStr",
         "CLAnsiStrList*": "CLAnsiStrList", "CLWideStrList*": "CLWideStrList",
         "const int*": "Long", "const double*": "Double"}
RESULTS = {"int": "Long", "unsigned": "Long", "unsigned int": "Long", "uint32_t": "Long",
           "bool": "Byte", "char": "Byte", "LWideChar": "Integer", "double": "Double"}
RESERVED = {"text", "base", "length", "format", "trim", "string", "type", "end", "error",
            "name", "width", "len", "left", "right", "mid", "print", "input", "open",
            "close", "get", "put", "set", "let", "step", "to", "call", "is", "me", "new",
            "dim", "static", "on", "line", "seek", "write", "val", "str", "object", "date",
            "any", "module", "message", "search", "count", "position", "pos", "value"}


def is_pointer(ctype):
    return ctype.endswith("*") or ctype in HANDLES or ctype == "LBSTR"


def vba_param(ctype, pname, vba7):
    ptr = "LongPtr" if vba7 else "Long"
    name = "a" + pname[0].upper() + pname[1:] if pname.lower() in RESERVED else pname
    if ctype in BYVAL:
        return f"ByVal {name} As {BYVAL[ctype]}"
    if ctype in BYREF:
        return f"ByRef {name} As {BYREF[ctype]}"
    if is_pointer(ctype):
        return f"ByVal {name} As {ptr}"
    sys.exit(f"check_vba: no VBA form for the C type {ctype}")


def vba_declare(name, result, params, vba7):
    args = ", ".join(vba_param(t, p, vba7) for t, p in params)
    safe = "PtrSafe " if vba7 else ""
    if result == "void":
        return f'Public Declare {safe}Sub {name} Lib "Quarnel.dll" ({args})'
    ret = RESULTS.get(result) or ("LongPtr" if vba7 else "Long")
    return f'Public Declare {safe}Function {name} Lib "Quarnel.dll" ({args}) As {ret}'


def generated_block(header):
    decls = list(header_declarations(header))
    summaries = header_summaries(header)
    stdcall = [d for d in decls if d[1] == "QUARNEL_API"]
    cdecl = [d[0] for d in decls if d[1] == "QUARNEL_CDECL"]
    lines = ["' Not declared: the caller-cleans (cdecl) exports, which VBA cannot call (a",
             "' Declare is always stdcall on 32-bit Windows): " + ", ".join(cdecl[:4]) + ","]
    rest = cdecl[4:]
    while rest:
        lines.append("' " + ", ".join(rest[:5]) + ("," if len(rest) > 5 else "."))
        rest = rest[5:]
    lines.append("#If VBA7 Then")
    for name, _, result, params in stdcall:
        summary = summaries.get(name, name)
        while summary:
            cut = summary.rfind(" ", 0, 96) if len(summary) > 96 else len(summary)
            lines.append("' " + summary[:cut].strip())
            summary = summary[cut:].strip()
        lines.append(vba_declare(name, result, params, True))
    lines.append("#Else")
    lines.append("' The same declarations for VB6 and 32-bit Office before VBA7.")
    for name, _, result, params in stdcall:
        lines.append(vba_declare(name, result, params, False))
    lines.append("#End If")
    return "\n".join(lines) + "\n"


def splice(text, block):
    i, j = text.find(BEGIN), text.find(END)
    if i < 0 or j < i:
        sys.exit(f"check_vba: markers '{BEGIN}' / '{END}' not found")
    i = text.index("\n", i) + 1
    j = text.rindex("\n", 0, j) + 1
    return text[:i] + block + text[j:]


# ---- Reading the module -----------------------------------------------------------

DECLARE = re.compile(
    r'^\s*(?:Public\s+|Private\s+)?Declare\s+(PtrSafe\s+)?(Sub|Function)\s+(\w+)\s+'
    r'Lib\s+"([^"]+)"\s*(?:Alias\s+"([^"]+)"\s*)?\((.*)\)\s*(?:As\s+(\w+))?\s*$', re.I)
SIZE_BYVAL = {"byte": 4, "integer": 4, "boolean": 4, "long": 4, "longptr": 4, "single": 4,
              "string": 4, "double": 8, "currency": 8, "longlong": 8, "date": 8,
              "variant": 16}


def module_declares(text):
    """{branch: {export: (ptrsafe, kind, [(passing, vba type)], result)}} for the
    Declares of Quarnel.dll; branch is "vba7", "old" or "plain" (outside any
    #If). Continued lines are joined first."""
    text = re.sub(r" _\r?\n\s*", " ", text)
    branches = {"vba7": {}, "old": {}, "plain": {}}
    branch = "plain"
    for line in text.splitlines():
        code = line.split("'")[0] if not line.lstrip().startswith("'") else ""
        stripped = code.strip()
        if re.match(r"#If\s+VBA7\s+Then", stripped, re.I):
            branch = "vba7"
        elif re.match(r"#Else\b", stripped, re.I) and branch == "vba7":
            branch = "old"
        elif re.match(r"#End\s+If", stripped, re.I):
            branch = "plain"
        m = DECLARE.match(code)
        if not m or m.group(4).lower() not in ("quarnel.dll", "quarnel"):
            continue
        name = m.group(5) or m.group(3)
        params = []
        for arg in filter(None, (a.strip() for a in m.group(6).split(","))):
            words = arg.split()
            passing = "ByRef"
            if words[0].lower() in ("byval", "byref"):
                passing = "ByVal" if words[0].lower() == "byval" else "ByRef"
            vtype = words[-1] if len(words) >= 3 and words[-2].lower() == "as" else "Variant"
            params.append((passing, vtype))
        branches[branch][name] = (bool(m.group(1)), m.group(2).lower(), params,
                                  m.group(7) or "Variant")
    return branches


def stack_bytes(params):
    return sum(SIZE_BYVAL.get(t.lower(), 4) if p == "ByVal" else 4 for p, t in params)


def arg_problem(ctype, passing, vtype, branch):
    v = vtype.lower()
    pointer = {"longptr"} if branch == "vba7" else {"long"}
    if ctype in ("int", "unsigned", "unsigned int", "uint32_t", "int32_t"):
        ok = passing == "ByVal" and v == "long"
    elif ctype == "bool":
        ok = passing == "ByVal" and v in ("boolean", "byte")
    elif ctype == "char":
        ok = passing == "ByVal" and v == "byte"
    elif ctype == "LWideChar":
        ok = passing == "ByVal" and v == "integer"
    elif ctype == "double":
        ok = passing == "ByVal" and v == "double"
    elif ctype in ("int64_t", "uint64_t"):
        ok = passing == "ByVal" and v in ("currency", "longlong")
    elif ctype in BYREF:
        ok = (passing == "ByRef" and v == BYREF[ctype].lower()) or (
            passing == "ByVal" and v in pointer)
    elif ctype in ("const char*", "char*"):
        ok = passing == "ByVal" and (v == "string" or v in pointer)
    elif is_pointer(ctype):
        ok = passing == "ByVal" and v in pointer
    else:
        return f"the C type {ctype} has no known VBA form"
    return None if ok else f"{ctype} passed as {passing} {vtype}"


def result_problem(ctype, kind, vtype, branch):
    if ctype == "void":
        return None if kind == "sub" else "a C void function must be a Sub"
    if kind != "function":
        return f"returns {ctype}: must be a Function"
    expected = RESULTS.get(ctype) or ("LongPtr" if branch == "vba7" else "Long")
    return None if vtype.lower() == expected.lower() else f"returns {ctype} as {vtype}, not {expected}"


def check(text, header, sizes):
    problems = []
    decls = {d[0]: d for d in header_declarations(header)}
    stdcall = {n for n, d in decls.items() if d[1] == "QUARNEL_API"}
    cdecl = [n for n, d in decls.items() if d[1] == "QUARNEL_CDECL"]
    branches = module_declares(text)
    if branches["plain"]:
        problems.append("Declares outside the #If VBA7 block: " + ", ".join(sorted(branches["plain"])))
    for branch in ("vba7", "old"):
        found = branches[branch]
        for name in sorted(stdcall - set(found)):
            problems.append(f"[{branch}] {name}: not declared")
        for name in sorted(set(found) - stdcall):
            problems.append(f"[{branch}] {name}: declared, but not a stdcall export of the header")
        for name in sorted(set(found) & stdcall):
            ptrsafe, kind, params, vtype = found[name]
            _, _, result, cparams = decls[name]
            where = f"[{branch}] {name}"
            if ptrsafe != (branch == "vba7"):
                problems.append(f"{where}: PtrSafe belongs in the VBA7 branch only")
            if stack_bytes(params) != sizes[name]:
                problems.append(f"{where}: pushes {stack_bytes(params)} bytes, the export takes @{sizes[name]}")
            if len(params) != len(cparams):
                problems.append(f"{where}: {len(params)} arguments, the header has {len(cparams)}")
            for i, ((ctype, _), (passing, vt)) in enumerate(zip(cparams, params), 1):
                why = arg_problem(ctype, passing, vt, branch)
                if why:
                    problems.append(f"{where}: argument {i}: {why}")
            why = result_problem(result, kind, vtype, branch)
            if why:
                problems.append(f"{where}: {why}")
    comments = " ".join(line for line in text.splitlines() if line.lstrip().startswith("'"))
    for name in cdecl:
        if name not in comments:
            problems.append(f"{name}: a caller-cleans export the module neither declares nor names")
    return problems, len(branches["vba7"]) + len(branches["old"])


def split_args(text):
    """The top-level, comma-separated arguments of a call's argument text."""
    args, depth, quoted, current = [], 0, False, ""
    for ch in text:
        if ch == '"':
            quoted = not quoted
        elif not quoted and ch == "(":
            depth += 1
        elif not quoted and ch == ")":
            depth -= 1
        if ch == "," and depth == 0 and not quoted:
            args.append(current)
            current = ""
        else:
            current += ch
    if current.strip():
        args.append(current)
    return args


def call_problems(path, declares):
    """Calls of the library in a class module that name no Declare or pass
    another number of arguments than it takes. VBA does not run here, so
    this is what catches a slip in the classes' calls."""
    problems = []
    text = re.sub(r" _\r?\n\s*", " ", open(path, encoding="utf-8").read())
    for number, line in enumerate(text.splitlines(), 1):
        code = line.split("'")[0]
        for m in re.finditer(r"\b(LStr\w+|Split(?:BySep|ByFixed|NamedEqu)\w*)\b(\s*\()?", code):
            name = m.group(1)
            where = f"{os.path.basename(path)}:{number}: {name}"
            if name not in declares:
                problems.append(f"{where}: no such Declare")
                continue
            rest = code[m.end():]
            if m.group(2):
                depth, end = 1, 0
                for end, ch in enumerate(rest):
                    depth += {"(": 1, ")": -1}.get(ch, 0)
                    if depth == 0:
                        break
                args = split_args(rest[:end])
            elif re.match(r"\s*(=|$|\)|,)", rest) or code[:m.start()].rstrip().endswith("="):
                continue  # not a call: the name read or assigned
            else:
                args = split_args(rest)
            if len(args) != declares[name]:
                problems.append(f"{where}: {len(args)} arguments, the Declare takes {declares[name]}")
    return problems


def export_sizes(header, deffile, nm):
    """Export name -> @N, from the .def or from the import library's symbols."""
    if nm:
        return {n: int(s) for n, s in re.findall(r"\b_(\w+)@(\d+)\b", open(nm).read())}
    return {n: s for n, s in def_entries(deffile).items() if s is not None}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--header", default=os.path.join(ROOT, "include/quarnel/quarnel.h"))
    parser.add_argument("--def", dest="deffile", default=os.path.join(ROOT, "src/exports/Quarnel.def"))
    parser.add_argument("--nm", help="nm output of the i686 import library")
    parser.add_argument("--module", default=os.path.join(ROOT, "bindings/vba/Quarnel.bas"))
    parser.add_argument("--write", action="store_true")
    args = parser.parse_args()
    with open(args.module, encoding="utf-8", newline="") as f:
        text = f.read()
    expected = splice(text, generated_block(args.header).replace("\n", "\r\n")
                      if "\r\n" in text else generated_block(args.header))
    if args.write and expected != text:
        with open(args.module, "w", encoding="utf-8", newline="") as f:
            f.write(expected)
        print(f"check_vba: rewrote {os.path.relpath(args.module, ROOT)}")
        text = expected
    sizes = export_sizes(args.header, args.deffile, args.nm)
    problems, count = check(text, args.header, sizes)
    declared = {name: len(d[2]) for name, d in module_declares(text)["vba7"].items()}
    folder = os.path.dirname(args.module)
    for cls in sorted(f for f in os.listdir(folder) if f.endswith(".cls")):
        problems += call_problems(os.path.join(folder, cls), declared)
    if text != expected:
        problems.append("the generated Declare block is out of step with the header;"
                        " run tools/check_vba.py --write")
    for p in problems:
        print("check_vba:", p, file=sys.stderr)
    # Each Declare with a problem counts as one failure, as does every
    # problem of the module as a whole.
    bad = {p.split(":")[0] for p in problems if p.startswith("[")}
    failed = len(bad) + sum(1 for p in problems if not p.startswith("["))
    print(f"check_vba: {count - len(bad)} passed, {failed} failed"
          f" ({count} Declares against the header and the export table)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
