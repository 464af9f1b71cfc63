#!/usr/bin/env python3
"""Writes the code-page tables used by the POSIX build (src/platform/posix/*.inc).

The tables are checked in, so building Quarnel never needs Python; run this
script again only when a table has to change:

    python3 tools/gen_codepages.py            # rewrite the .inc files
    python3 tools/gen_codepages.py --check    # fail if they are out of date

The defined characters come from Python's own codecs. Where the Windows
converters (MultiByteToWideChar / WideCharToMultiByte) disagree with Python,
or where Python leaves a byte undefined that Windows maps, the adjustments
below say what we chose and why.

Encoding uses exact reverse mappings only. Windows also has "best fit"
substitutions (U+0100 -> 'A' in 1252, for one); those are not reproduced, and
such units become '?'.
"""

import argparse
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT_DIR = ROOT / "src" / "platform" / "posix"

# --------------------------------------------------------------------------
# Single-byte code pages
# --------------------------------------------------------------------------

SBCS = {
    874: "cp874",
    1250: "cp1250",
    1251: "cp1251",
    1252: "cp1252",
    1253: "cp1253",
    1254: "cp1254",
    1255: "cp1255",
    1256: "cp1256",
    1257: "cp1257",
    1258: "cp1258",
}

# Bytes that Python leaves undefined but Windows maps to something other than
# the C1 control of the same value.
#
# Windows gives every byte of its single-byte code pages a meaning, so that
# text survives a trip through Unicode and back unchanged. Holes in 0x80-0x9F
# become the C1 control with the same value (0x81 -> U+0081); that rule is
# applied below to every page and is what Windows does for 0x81, 0x8D, 0x8F,
# 0x90 and 0x9D in 1252, which is the case callers meet most. Holes elsewhere
# in the upper half are mapped by Windows to private-use code points, one per
# byte, in byte order:
#   1253: 0xAA, 0xD2, 0xFF                    -> U+F8F9..U+F8FB
#   1255: 0xD9..0xDF, 0xFB, 0xFC, 0xFF        -> U+F88D..U+F896
#   1257: 0xA1, 0xA5                          -> U+F8FC..U+F8FD
#   874:  0xDB..0xDE, 0xFC..0xFF              -> U+F8C1..U+F8C8
# 1255 0xCA is HEBREW POINT HOLAM HASER FOR VAV (U+05BA) in current Windows
# releases; Python still has the older table without it.
# 1256 has no holes at all.
SBCS_EXTRA = {
    1253: {0xAA: 0xF8F9, 0xD2: 0xF8FA, 0xFF: 0xF8FB},
    1255: {
        0xCA: 0x05BA,
        **{
            b: 0xF88D + i
            for i, b in enumerate([0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF, 0xFB, 0xFC, 0xFF])
        },
    },
    1257: {0xA1: 0xF8FC, 0xA5: 0xF8FD},
    874: {b: 0xF8C1 + i for i, b in enumerate([0xDB, 0xDC, 0xDD, 0xDE, 0xFC, 0xFD, 0xFE, 0xFF])},
}


def decode_one(codec, data):
    """Returns the single code point `data` decodes to, or None."""
    try:
        text = data.decode(codec)
    except UnicodeDecodeError:
        return None
    return ord(text) if len(text) == 1 else None


def build_sbcs(cp):
    table = [decode_one(SBCS[cp], bytes([b])) for b in range(256)]
    for byte, unit in SBCS_EXTRA.get(cp, {}).items():
        assert table[byte] is None, (cp, hex(byte))
        table[byte] = unit
    for byte in range(0x80, 0xA0):
        if table[byte] is None:
            table[byte] = byte
    for byte in range(256):
        assert table[byte] is not None, (cp, hex(byte))
        assert byte >= 0x80 or table[byte] == byte, (cp, hex(byte))
        assert table[byte] <= 0xFFFF and not 0xD800 <= table[byte] <= 0xDFFF
    assert len(set(table)) == 256, f"{cp}: two bytes decode to the same unit"
    return table


# --------------------------------------------------------------------------
# Double-byte code pages
# --------------------------------------------------------------------------


def trails(*ranges):
    out = []
    for lo, hi in ranges:
        out.extend(range(lo, hi + 1))
    return out


def eudc(leads, trail_list, first_unit):
    """User-defined area: consecutive cells mapped to consecutive private-use units."""
    cells = {}
    unit = first_unit
    for lead in leads:
        for trail in trail_list:
            cells[(lead << 8) | trail] = unit
            unit += 1
    return cells


T950 = trails((0x40, 0x7E), (0xA1, 0xFE))
T94 = trails((0xA1, 0xFE))

DBCS = {
    # Shift JIS as Microsoft extended it (NEC and IBM rows). Python's cp932 is
    # Microsoft's table, including the single bytes 0x80 -> U+0080,
    # 0xA0 -> U+F8F0, 0xFD..0xFF -> U+F8F1..U+F8F3, and the user-defined rows
    # 0xF0..0xF9 -> U+E000..U+E757, so nothing needs adding.
    #
    # The default character that Windows puts in place of an undecodable
    # sequence is U+30FB (KATAKANA MIDDLE DOT) for this page.
    932: dict(
        codec="cp932",
        leads=list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD)),
        trail_lo=0x40,
        trail_hi=0xFC,
        default=0x30FB,
        singles={},
        extra={},
        drop=lambda code: False,
    ),
    # Python's gbk is Windows 936 except for three things Windows adds:
    # 0x80 -> U+20AC (the euro sign as a single byte), 0xFF -> U+F8F5, and the
    # three user-defined areas AAA1-AFFE, F8A1-FEFE and A140-A7A0, mapped in
    # that order onto U+E000..U+E765.
    936: dict(
        codec="gbk",
        leads=list(range(0x81, 0xFF)),
        trail_lo=0x40,
        trail_hi=0xFE,
        default=0x003F,
        singles={0x80: 0x20AC, 0xFF: 0xF8F5},
        extra={
            **eudc(range(0xAA, 0xB0), T94, 0xE000),
            **eudc(range(0xF8, 0xFF), T94, 0xE234),
            **eudc(range(0xA1, 0xA8), trails((0x40, 0x7E), (0x80, 0xA0)), 0xE4C6),
        },
        drop=lambda code: False,
    ),
    # Unified Hangul Code. Windows adds 0x80 -> U+0080, 0xFF -> U+F8F7 and the
    # user-defined rows C9 and FE (A1..FE) -> U+E000..U+E0BB.
    949: dict(
        codec="cp949",
        leads=list(range(0x81, 0xFF)),
        trail_lo=0x41,
        trail_hi=0xFE,
        default=0x003F,
        singles={0x80: 0x0080, 0xFF: 0xF8F7},
        extra={**eudc([0xC9], T94, 0xE000), **eudc([0xFE], T94, 0xE05E)},
        drop=lambda code: False,
    ),
    # Big5 as Microsoft has it. Python's cp950 also decodes C6A1..C7FC (an
    # extension with kana and Cyrillic from another vendor) which Windows does
    # not have: there Windows has the last of its four user-defined areas.
    # Windows maps FA40-FEFE, 8E40-A0FE, 8140-8DFE, C6A1-C8FE, in that order,
    # onto U+E000..U+F848, and adds 0x80 -> U+0080, 0xFF -> U+F8F8.
    950: dict(
        codec="cp950",
        leads=list(range(0x81, 0xFF)),
        trail_lo=0x40,
        trail_hi=0xFE,
        default=0x003F,
        singles={0x80: 0x0080, 0xFF: 0xF8F8},
        extra={
            **eudc(range(0xFA, 0xFF), T950, 0xE000),
            **eudc(range(0x8E, 0xA1), T950, 0xE311),
            **eudc(range(0x81, 0x8E), T950, 0xEEB8),
            **eudc([0xC6], T94, 0xF6B1),
            **eudc([0xC7, 0xC8], T950, 0xF70F),
        },
        drop=lambda code: 0xC6A1 <= code <= 0xC8FE,
    ),
}


def preferred_932(unit, codes):
    # Several characters exist twice or three times in 932: once in JIS X 0208,
    # again in NEC row 13 (0x87xx), in the NEC-selected IBM rows (0xED/0xEE) and
    # in the IBM rows (0xFA..0xFC). Windows writes the JIS X 0208 form first,
    # then the NEC row 13 form, then the IBM form; it never writes the
    # NEC-selected IBM rows. That is: the lowest code outside 0xED40..0xEEFC.
    usable = [c for c in codes if not 0xED40 <= c <= 0xEEFC]
    return min(usable or codes)


# 950 has eight box-drawing characters twice (row A2 and row F9): Windows
# writes the F9 form for the four below and the A2 form for the other four.
# It also has two hanzi twice, once among the symbols (A2CC, A2CE) and once in
# their place among the hanzi (A451, A4CA); Windows writes the hanzi position.
PREFER_950 = {
    0x2550: 0xF9F9,
    0x255E: 0xF9E9,
    0x2561: 0xF9EB,
    0x256A: 0xF9EA,
    0x5341: 0xA451,
    0x5345: 0xA4CA,
}


def preferred_default(cp):
    def choose(unit, codes):
        if cp == 950 and unit in PREFER_950:
            return PREFER_950[unit]
        return min(codes)

    return choose


def build_dbcs(cp):
    info = DBCS[cp]
    codec = info["codec"]
    leads = set(info["leads"])
    singles = {}
    for byte in range(256):
        if byte in leads:
            continue
        unit = decode_one(codec, bytes([byte]))
        if byte < 0x80:
            assert unit == byte, (cp, hex(byte))
        if unit is not None:
            singles[byte] = unit
    for byte, unit in info["singles"].items():
        assert byte not in singles and byte not in leads, (cp, hex(byte))
        singles[byte] = unit
    for byte in range(256):
        assert byte in leads or byte in singles, f"{cp}: single byte {byte:#x} has no meaning"

    pairs = {}
    for lead in sorted(leads):
        for trail in range(info["trail_lo"], info["trail_hi"] + 1):
            code = (lead << 8) | trail
            unit = decode_one(codec, bytes([lead, trail]))
            if unit is not None and not info["drop"](code):
                pairs[code] = unit
    # Python must not decode anything outside the trail window we store.
    for lead in sorted(leads):
        for trail in list(range(0, info["trail_lo"])) + list(range(info["trail_hi"] + 1, 256)):
            assert decode_one(codec, bytes([lead, trail])) is None, (cp, hex(lead), hex(trail))
    for code, unit in info["extra"].items():
        assert code not in pairs, (cp, hex(code))
        assert code >> 8 in leads
        pairs[code] = unit
    for unit in [u for b, u in singles.items() if b >= 0x80] + list(pairs.values()):
        assert 0 < unit <= 0xFFFF and not 0xD800 <= unit <= 0xDFFF, (cp, hex(unit))

    # Code points with more than one byte sequence: which one the encoder writes.
    by_unit = {}
    for byte, unit in singles.items():
        by_unit.setdefault(unit, []).append(byte)
    for code, unit in pairs.items():
        by_unit.setdefault(unit, []).append(code)
    choose = preferred_932 if cp == 932 else preferred_default(cp)
    preferred = {u: choose(u, sorted(c)) for u, c in by_unit.items() if len(c) > 1}
    for unit, code in preferred.items():
        assert code in by_unit[unit]
    return singles, pairs, preferred


# --------------------------------------------------------------------------
# Output
# --------------------------------------------------------------------------

HEADER = """\
// Generated by tools/gen_codepages.py from Python's codecs plus the Windows
// adjustments documented there. Do not edit by hand; rerun the script.
// clang-format off
"""


def hex_list(values, per_line, indent="    "):
    lines = []
    for i in range(0, len(values), per_line):
        chunk = values[i : i + per_line]
        lines.append(indent + ",".join("0" if v == 0 else f"0x{v:x}" for v in chunk) + ",")
    return "\n".join(lines)


def emit_sbcs():
    out = [HEADER]
    out.append("// Upper halves (bytes 0x80..0xFF) of the single-byte pages; the lower")
    out.append("// half of every page is ASCII.\n")
    for cp in sorted(SBCS):
        table = build_sbcs(cp)
        out.append(f"constexpr char16_t kSbcs{cp}[128] = {{")
        out.append(hex_list(table[0x80:], 16))
        out.append("};\n")
    return "\n".join(out)


def emit_dbcs(cp):
    info = DBCS[cp]
    singles, pairs, preferred = build_dbcs(cp)
    lo, hi = info["trail_lo"], info["trail_hi"]
    leads = sorted(info["leads"])
    out = [HEADER]
    out.append(f"// Code page {cp}: {len(pairs)} double-byte characters, {len(preferred)} of them")
    out.append("// reachable from more than one byte sequence.\n")
    single_row = [singles.get(b, 0) for b in range(0x80, 0x100)]
    out.append(f"// Bytes 0x80..0xFF on their own; 0 marks a lead byte.")
    out.append(f"constexpr char16_t kDbcs{cp}Singles[128] = {{")
    out.append(hex_list(single_row, 16))
    out.append("};\n")
    row_of = [0] * 128
    for index, lead in enumerate(leads):
        row_of[lead - 0x80] = index + 1
    out.append("// For bytes 0x80..0xFF: 1 + the row of pairs a lead byte starts, or 0.")
    out.append(f"constexpr unsigned char kDbcs{cp}LeadRow[128] = {{")
    out.append(hex_list(row_of, 16))
    out.append("};\n")
    width = hi - lo + 1
    out.append(f"// One row of {width} entries (trail bytes 0x{lo:02x}..0x{hi:02x}) per lead byte;")
    out.append("// 0 marks a pair with no character.")
    out.append(f"constexpr char16_t kDbcs{cp}Pairs[{len(leads) * width}] = {{")
    for lead in leads:
        out.append(f"    // 0x{lead:02x}")
        out.append(hex_list([pairs.get((lead << 8) | t, 0) for t in range(lo, hi + 1)], 16))
    out.append("};\n")
    if preferred:
        out.append("// Code points with several byte sequences: the one the encoder writes.")
        out.append(f"constexpr Preference kDbcs{cp}Preferred[{len(preferred)}] = {{")
        items = [f"{{0x{u:04x},0x{c:x}}}" for u, c in sorted(preferred.items())]
        for i in range(0, len(items), 8):
            out.append("    " + ",".join(items[i : i + 8]) + ",")
        out.append("};\n")
        pref_ref = f"kDbcs{cp}Preferred, {len(preferred)}"
    else:
        pref_ref = "nullptr, 0"
    out.append(f"constexpr DbcsTable kDbcs{cp} = {{")
    out.append(f"    {cp}, 0x{info['default']:04x}, kDbcs{cp}Singles, kDbcs{cp}LeadRow,")
    out.append(f"    0x{lo:02x}, 0x{hi:02x}, kDbcs{cp}Pairs, {pref_ref},")
    out.append("};")
    return "\n".join(out) + "\n"


def outputs():
    files = {"codepage_sbcs.inc": emit_sbcs()}
    for cp in sorted(DBCS):
        files[f"codepage_{cp}.inc"] = emit_dbcs(cp)
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="compare instead of writing")
    args = parser.parse_args()
    stale = []
    for name, text in outputs().items():
        path = OUT_DIR / name
        if args.check:
            if not path.exists() or path.read_text() != text:
                stale.append(name)
        else:
            path.write_text(text)
            print(f"wrote {path.relative_to(ROOT)} ({len(text)} bytes)")
    if stale:
        print("out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
