#!/usr/bin/env python3
"""Keeps the language bindings' declarations in step with the public header.

  check_bindings.py [--header H] [--write]

The header is the one source of truth. Every function it declares is
described by a kind per argument and per result (handle_a, text_w, int, ...)
and each binding's declaration table is generated from those kinds:

  bindings/python/quarnel/_exports.py   the whole file (a table the package
                                        turns into ctypes declarations)
  bindings/dotnet/Quarnel.cs            the [DllImport] block between markers
  bindings/pascal/quarnel.pas           the checked wrappers (declarations and
                                        bodies) between markers

Without --write the generated text is compared with the files and every
binding that is out of step (an export added, removed or changed in the
header) is reported; --write rewrites them. A C type that no binding knows how
to pass stops both modes, so a new kind of argument gets a deliberate mapping.

The .NET declarations are internal to the assembly (a raw call could run on a
thread outside record mode), so every one of them must also be called by the
binding's own code; an export nothing calls is reported as well.

Deliberate exclusions, each because the language cannot make the call:
  * Python and .NET: the four va_list exports (_LStrVPrintfA/W,
    _LStrCatVPrintfA/W); a va_list is a C compiler's object that these
    languages cannot build (the Pascal unit builds one for its variadic
    wrappers, which take an `array of const`);
  * .NET: the other variadic '_' exports as well; P/Invoke has no portable
    way to call a C variadic function (__arglist is a Windows-only extension).
"""
import argparse
import difflib
import os
import re
import sys
import textwrap

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_exports import header_declarations  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# C type (as the header spells it, spaces normalised) -> kind.
KINDS = {
    "void": "void", "int": "int", "unsigned": "uint", "unsigned int": "uint",
    "uint32_t": "uint", "bool": "bool", "char": "char_a", "LWideChar": "char_w",
    "double": "double", "int64_t": "int64", "uint64_t": "uint64",
    "LStrHandleA": "handle_a", "LStrHandleW": "handle_w",
    "const char*": "text_a", "char*": "chars_a",
    "const LWideChar*": "text_w", "LWideChar*": "chars_w", "LBSTR": "chars_w",
    "LBSTR*": "bstr_ref", "void*": "pointer",
    "const CLAnsiStr*": "wrapper_a", "CLAnsiStr*": "wrappers_a",
    "const CLWideStr*": "wrapper_w", "CLWideStr*": "wrappers_w",
    "CLAnsiStrList*": "list_a", "CLWideStrList*": "list_w",
    "const int*": "ints", "const double*": "double_ref",
    "va_list": "va_list", "...": "...",
}


def exports(header):
    """(name, convention, result kind, [(kind, name)]) in header order."""
    out = []
    for name, conv, result, params in header_declarations(header):
        types = [result] + [t for t, _ in params]
        unknown = [t for t in types if t not in KINDS]
        if unknown:
            sys.exit(f"check_bindings: {name}: no binding maps the C type(s) {unknown}")
        out.append((name, "cdecl" if conv == "QUARNEL_CDECL" else "api", KINDS[result],
                    [(KINDS[t], p) for t, p in params]))
    return out


def usable(params):
    return all(kind != "va_list" for kind, _ in params)


# ---- Python: a data table the package maps to ctypes, and the raw layer's types

# Python types of each kind as the raw layer (quarnel.lib) takes and gives
# them: handles and addresses are ints, buffers and structures ctypes objects.
PY_ARGS = {
    "int": "int", "uint": "int", "bool": "bool", "char_a": "bytes", "char_w": "int",
    "double": "float", "int64": "int", "uint64": "int", "handle_a": "Optional[int]",
    "handle_w": "Optional[int]", "text_a": "Optional[bytes]", "pointer": "Optional[int]",
}
PY_RESULTS = {
    "void": "None", "int": "int", "uint": "int", "bool": "bool", "char_a": "bytes",
    "char_w": "int", "double": "float", "handle_a": "int", "handle_w": "int",
}


def python_table(decls):
    lines = [
        '"""Every export of the library: name -> (convention, result kind, argument kinds),',
        "and the types the raw layer gives each one.",
        "",
        "Generated from include/quarnel/quarnel.h by tools/check_bindings.py --write;",
        "do not edit. A trailing \"...\" marks a variadic export.",
        '"""',
        "from typing import Any, Callable, Dict, Optional, Tuple",
        "",
        "EXPORTS: Dict[str, Tuple[str, str, Tuple[str, ...]]] = {",
    ]
    typed = []
    for name, conv, result, params in decls:
        if not usable(params):
            continue
        args = "".join(f'"{k}", ' for k, _ in params).rstrip(", ")
        if len(params) == 1:
            args += ","
        lines.append(f'    "{name}": ("{conv}", "{result}", ({args})),')
        ret = PY_RESULTS.get(result, "Optional[int]")
        if any(k == "..." for k, _ in params):
            typed.append(f"    {name}: Callable[..., {ret}]")
        else:
            kinds = ", ".join(PY_ARGS.get(k, "Any") for k, _ in params)
            typed.append(f"    {name}: Callable[[{kinds}], {ret}]")
    lines.append("}")
    lines += [
        "",
        "",
        "class Exports:",
        '    """The raw layer\'s exports: handles and returned addresses are ints (a',
        "    returned address is None when null), buffers and structures are ctypes",
        '    objects. A failure raises the matching QuarnelError."""',
        "",
    ]
    lines += typed
    return "\n".join(lines) + "\n"


# ---- .NET ---------------------------------------------------------------------

CS_ARGS = {
    "int": "int", "uint": "uint", "bool": "[MarshalAs(UnmanagedType.I1)] bool",
    "char_a": "byte", "char_w": "[MarshalAs(UnmanagedType.U2)] char", "double": "double",
    "int64": "long", "uint64": "ulong", "handle_a": "AnsiStrHandle",
    "handle_w": "WideStrHandle", "text_a": "byte[]", "chars_a": "[Out] byte[]",
    "text_w": "[MarshalAs(UnmanagedType.LPWStr)] string", "chars_w": "[Out] char[]",
    "bstr_ref": "IntPtr", "pointer": "IntPtr", "wrapper_a": "ref CLAnsiStr",
    "wrappers_a": "[In, Out] CLAnsiStr[]", "wrapper_w": "ref CLWideStr",
    "wrappers_w": "[In, Out] CLWideStr[]", "list_a": "AnsiStrListHandle",
    "list_w": "WideStrListHandle", "ints": "int[]", "double_ref": "ref double",
}
CS_RESULTS = {
    "void": "void", "int": "int", "uint": "uint",
    "bool": "[return: MarshalAs(UnmanagedType.I1)]\n        internal static extern bool",
    "char_a": "byte", "char_w": "[return: MarshalAs(UnmanagedType.U2)]\n        internal static extern char",
    "double": "double", "handle_a": "AnsiStrHandle", "handle_w": "WideStrHandle",
    "text_a": "IntPtr", "chars_a": "IntPtr", "text_w": "IntPtr", "chars_w": "IntPtr",
    "bstr_ref": "IntPtr", "pointer": "IntPtr",
}
CS_KEYWORDS = {"base", "string", "params", "out", "ref", "in", "object", "fixed", "lock"}


def dotnet_block(decls):
    lines = []
    for name, conv, result, params in decls:
        if conv == "cdecl":
            continue
        args = []
        for kind, pname in params:
            # The release functions run from SafeHandle.ReleaseHandle, which
            # has the raw pointer only.
            raw = name.startswith(("LStrDestroy", "LStrListEnd"))
            ctype = "IntPtr" if raw else CS_ARGS[kind]
            args.append(f"{ctype} {'@' + pname if pname in CS_KEYWORDS else pname}")
        ret = CS_RESULTS[result]
        if "extern" not in ret:
            ret = "internal static extern " + ret
        lines.append("        [DllImport(Library, CallingConvention = CallingConvention.Winapi,"
                     " ExactSpelling = true, CharSet = CharSet.Unicode)]")
        lines.append(f"        {ret} {name}({', '.join(args)});")
    return "\n".join(lines) + "\n"


def dotnet_unwrapped(decls, path):
    """Declared exports that no code of the .NET binding calls: its raw
    declarations are internal, so each needs a friendly member."""
    text = open(path, encoding="utf-8").read()
    i = text.find("// BEGIN GENERATED DECLARATIONS")
    j = text.find("// END GENERATED DECLARATIONS")
    rest = text[:i] + text[j:]
    return [name for name, conv, _, _ in decls
            if conv != "cdecl" and f"NativeMethods.{name}(" not in rest]


# ---- Pascal ---------------------------------------------------------------------
# The unit declares each export privately under a Q_ name and publishes a
# wrapper of the same name as the export that puts the thread in record mode
# and raises the failure, if any, as the matching exception class. A failing
# call returns the zero of its type, so the failure status is read only when
# the result is zero (always for procedures). The variadic exports and the
# two failure-mode functions are written by hand in the unit.

PAS_TYPES = {
    "int": "Int32", "uint": "UInt32", "bool": "Boolean", "char_a": "AnsiChar",
    "char_w": "WideChar", "double": "Double", "int64": "Int64", "uint64": "UInt64",
    "handle_a": "LStrHandleA", "handle_w": "LStrHandleW", "text_a": "PAnsiChar",
    "chars_a": "PAnsiChar", "text_w": "PWideChar", "chars_w": "PWideChar",
    "bstr_ref": "PLBSTR", "pointer": "Pointer", "wrapper_a": "PCLAnsiStr",
    "wrappers_a": "PCLAnsiStr", "wrapper_w": "PCLWideStr", "wrappers_w": "PCLWideStr",
    "list_a": "PCLAnsiStrList", "list_w": "PCLWideStrList", "ints": "PQuarnelInt",
    "double_ref": "PDouble", "va_list": "Pointer",
}
PAS_KEYWORDS = {"type", "var", "end", "begin", "string", "file", "set", "object", "in",
                "out", "label", "to", "of", "array", "record", "const", "unit", "text"}
PAS_ZERO = {"Boolean": "not Result", "AnsiChar": "Result = #0", "WideChar": "Result = #0",
            "Double": "Result = 0", "Int32": "Result = 0", "UInt32": "Result = 0"}
PAS_HANDWRITTEN = {"LStrSetFailureMode", "LStrGetLastFailure"}


def header_summaries(header):
    """Export name -> the first sentence of the comment above its declaration."""
    text = open(header, encoding="utf-8").read()
    out = {}
    for m in re.finditer(r"QUARNEL_EXPORT\s+[^;]*?\b(?:QUARNEL_API|QUARNEL_CDECL)\s+(\w+)\s*\(",
                         text):
        end = text.rfind("*/", 0, m.start())
        body = text[text.rfind("/*", 0, end) + 2:end]
        words = []
        for line in body.split("\n"):
            line = line.strip().lstrip("*")
            if line.startswith("    ") or line.strip().startswith("===="):
                if words:
                    break  # an example or the next heading ends the prose
                continue
            words.extend(line.split())
        prose = " ".join(words).replace("{", "(").replace("}", ")")
        cut = re.search(r"\.(\s|$)", prose)
        out[m.group(1)] = prose[:cut.end()].strip() if cut else prose
    return out


def pascal_signature(name, result, params):
    args = "; ".join(f"{'A' + p if p.lower() in PAS_KEYWORDS else p}: {PAS_TYPES[k]}"
                     for k, p in params)
    head = f"function {name}" if result != "void" else f"procedure {name}"
    if args:
        head += f"({args})"
    if result != "void":
        head += f": {PAS_TYPES[result]}"
    return head + ";"


def pascal_generated(decls):
    return [d for d in decls if usable_pascal(d[3]) and d[0] not in PAS_HANDWRITTEN]


def usable_pascal(params):
    return all(kind != "..." for kind, _ in params)


def pascal_block(decls, summaries):
    lines = []
    for name, _, result, params in pascal_generated(decls):
        lines.append(textwrap.fill(summaries.get(name, name), 96, initial_indent="{ ",
                                   subsequent_indent="  ") + " }")
        lines.append(pascal_signature(name, result, params))
    return "\n".join(lines) + "\n"


def pascal_implementation(decls):
    lines = []
    for name, conv, result, params in decls:
        if not usable_pascal(params) or name in PAS_HANDWRITTEN:
            continue
        tail = "cdecl;" if conv == "cdecl" else "{$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};"
        lines.append(f"{pascal_signature('Q_' + name, result, params)} {tail}"
                     f" external QuarnelLib name '{name}';")
    for name, _, result, params in pascal_generated(decls):
        call = f"Q_{name}({', '.join('A' + p if p.lower() in PAS_KEYWORDS else p for _, p in params)})"
        if not params:
            call = call[:-2]
        lines += ["", pascal_signature(name, result, params), "begin", "  Enter;"]
        if result == "void":
            lines += [f"  {call};", "  Check;"]
        else:
            zero = PAS_ZERO.get(PAS_TYPES[result], "Result = nil")
            lines += [f"  Result := {call};", f"  if {zero} then", "    Check;"]
        lines.append("end;")
    return "\n".join(lines) + "\n"


# ---- Files ------------------------------------------------------------------------

def splice(path, begin, end, block, text=None):
    if text is None:
        text = open(path, encoding="utf-8").read()
    i, j = text.find(begin), text.find(end)
    if i < 0 or j < i:
        sys.exit(f"check_bindings: {path}: markers '{begin}' / '{end}' not found")
    i = text.index("\n", i) + 1
    j = text.rindex("\n", 0, j) + 1
    return text[:i] + block + text[j:]


def targets(decls, header):
    """(path, expected full text) for every binding."""
    py = os.path.join(ROOT, "bindings/python/quarnel/_exports.py")
    cs = os.path.join(ROOT, "bindings/dotnet/Quarnel.cs")
    pas = os.path.join(ROOT, "bindings/pascal/quarnel.pas")
    return [
        (py, python_table(decls)),
        (cs, splice(cs, "// BEGIN GENERATED DECLARATIONS", "// END GENERATED DECLARATIONS",
                    dotnet_block(decls))),
        (pas, splice(pas, "{ BEGIN GENERATED IMPLEMENTATION", "{ END GENERATED IMPLEMENTATION",
                     pascal_implementation(decls),
                     splice(pas, "{ BEGIN GENERATED DECLARATIONS", "{ END GENERATED DECLARATIONS",
                            pascal_block(decls, header_summaries(header))))),
    ]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--header", default=os.path.join(ROOT, "include/quarnel/quarnel.h"))
    parser.add_argument("--write", action="store_true")
    args = parser.parse_args()
    decls = exports(args.header)
    passed = failed = 0
    for path, expected in targets(decls, args.header):
        current = open(path, encoding="utf-8").read() if os.path.exists(path) else ""
        rel = os.path.relpath(path, ROOT)
        if current == expected:
            passed += 1
        elif args.write:
            open(path, "w", encoding="utf-8").write(expected)
            print(f"check_bindings: rewrote {rel}")
            passed += 1
        else:
            failed += 1
            print(f"check_bindings: {rel} is out of step with the header;"
                  " run tools/check_bindings.py --write", file=sys.stderr)
            changed = [line for line in difflib.unified_diff(
                current.splitlines(), expected.splitlines(), lineterm="", n=0)
                if line[:1] in "+-" and line[:3] not in ("+++", "---")
                and "[DllImport" not in line]
            for line in changed[:12]:
                print("   ", "declared:" if line[0] == "-" else "expected:", line[1:].strip(),
                      file=sys.stderr)
    cs = os.path.join(ROOT, "bindings/dotnet/Quarnel.cs")
    unwrapped = dotnet_unwrapped(decls, cs)
    if unwrapped:
        failed += 1
        print(f"check_bindings: .NET exports without a friendly member: {' '.join(unwrapped)}",
              file=sys.stderr)
    print(f"check_bindings: {len(decls)} exports, bindings {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
