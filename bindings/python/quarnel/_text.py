"""Text of any accepted kind turned into a family's bytes, exactly.

The A family takes bytes in the library's code page, the W family UTF-16
units (handled here as UTF-16-LE bytes). Conversions between the two go
through the library itself, so Python and the library never disagree about
the code page, and are checked by converting back: text that the code page
cannot hold is refused with UnicodeEncodeError / UnicodeDecodeError (both
ValueErrors) rather than changed.
"""
from typing import Any, Optional

from ._library import FAST, check, decode16, encode16, enter, read_a, read_w, state
from .errors import EXCEPTION_OUT_OF_MEMORY, OutOfMemoryError

INT_MAX = 0x7FFFFFFF
_w_to_a = FAST["LStrAllocFromWSzStrA"]
_a_to_w = FAST["LStrAllocFromASzStrW"]
_destroy_a = FAST["LStrDestroyA"]
_destroy_w = FAST["LStrDestroyW"]

_PROBES = [  # code page, Python codec, a character only that page writes so
    (65001, "utf-8", "\u00e9"), (1252, "cp1252", "\u00d0\u00de"), (1250, "cp1250", "\u0151"),
    (1251, "cp1251", "\u044f"), (1253, "cp1253", "\u03a9"), (1254, "cp1254", "\u015f"),
    (1255, "cp1255", "\u05d0"), (1256, "cp1256", "\u0627"), (1257, "cp1257", "\u0105"),
    (1258, "cp1258", "\u01b0"), (874, "cp874", "\u0e01"), (932, "cp932", "\u3042"),
    (936, "gbk", "\u4e2d"), (949, "cp949", "\uac00"), (950, "cp950", "\u4e2d"),
]
_page: Optional[int] = None
_codec = "ascii"


def code_page() -> int:
    """The ANSI code page the library converts with (1252, 65001, 932, ...),
    as it behaves; 0 if none of the known pages matches."""
    global _page, _codec
    if _page is None:
        _page = 0
        for page, codec, probe in _PROBES:
            if wide_to_ansi(probe.encode("utf-16-le"), "probe", strict=False) == \
                    probe.encode(codec):
                _page, _codec = page, codec
                break
    return _page


def length_of(size: int, unit: int, arg: str) -> int:
    """A text's length in units, refused when no handle can hold it."""
    units = size // unit
    if units > INT_MAX:
        raise OutOfMemoryError(EXCEPTION_OUT_OF_MEMORY,
                               f"{arg}: {units} characters are more than a handle holds")
    return units


def _first_difference(a: str, b: str) -> int:
    return next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))


def wide_to_ansi(data: bytes, arg: str, strict: bool = True) -> bytes:
    """UTF-16-LE bytes in the code page; strict refuses what does not fit."""
    if not state.recording:
        enter()
    h = _w_to_a(data, length_of(len(data), 2, arg))
    if not h:
        check()
    try:
        raw = read_a(h)
    finally:
        _destroy_a(h)
    if strict and ansi_to_wide(raw, arg, strict=False) != data:
        text = decode16(data)
        at = _first_difference(text, decode16(ansi_to_wide(raw, arg, False)))
        code_page()
        raise UnicodeEncodeError(_codec, text, at, at + 1,
                                 f"{arg}: not in the library's code page {_page}")
    return raw


def ansi_to_wide(raw: bytes, arg: str, strict: bool = True) -> bytes:
    """Code-page bytes as UTF-16-LE; strict refuses bytes the page does not
    read back the same (invalid sequences)."""
    if raw.isascii():
        return encode16(raw.decode("ascii"))
    if not state.recording:
        enter()
    h = _a_to_w(raw, length_of(len(raw), 1, arg))
    if not h:
        check()
    try:
        data = read_w(h)
    finally:
        _destroy_w(h)
    if strict:
        back = wide_to_ansi(data, arg, strict=False)
        if back != raw:
            at = next((i for i, (x, y) in enumerate(zip(raw, back)) if x != y),
                      min(len(raw), len(back)))
            code_page()
            raise UnicodeDecodeError(_codec, raw, at, at + 1,
                                     f"{arg}: not valid in the library's code page {_page}")
    return data


def type_error(arg: str, value: Any) -> TypeError:
    """The refusal of a value that is not text."""
    return TypeError(f"{arg}: expected str, bytes, AnsiStr or WideStr, "
                     f"not {type(value).__name__}")
