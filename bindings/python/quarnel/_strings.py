"""Handle objects: ``AnsiStr`` (A family) and ``WideStr`` (W family).

Both take ``str`` or ``bytes``. Text of the other kind is converted by the
library itself (``str`` into an AnsiStr goes in as UTF-16 and the library
encodes it to its ANSI code page; ``bytes`` into a WideStr are decoded from
that code page), so Python and the library never disagree about the code
page. The twins share every method; a class only names its family.
"""
from ctypes import byref, c_int, c_uint16, string_at
from typing import Any, Iterable, List, Optional, Sequence, Tuple, Type, TypeVar, Union

from ._library import (CLAnsiStr, CLAnsiStrList, CLWideStr, CLWideStrList, call, lib)
from .errors import EXCEPTION_RANGE, RangeError

Text = Union[str, bytes]
S = TypeVar("S", bound="_Str")
_GROW_BY = 16


def _wide(text: str) -> Tuple[Any, int]:
    """A zero-terminated UTF-16 array of text and its length in units."""
    data = text.encode("utf-16-le", "surrogatepass")
    units = len(data) // 2
    return (c_uint16 * (units + 1)).from_buffer_copy(data + b"\0\0"), units


def _fn(name: str) -> Any:
    return getattr(lib, name)


def _read_w(handle: int) -> str:
    units = call(lib.LStrLengthW, handle)
    if units == 0:
        return ""
    return string_at(call(lib.LStrCstrW, handle), 2 * units).decode("utf-16-le", "surrogatepass")


def _read_a(handle: int) -> bytes:
    return string_at(call(lib.LStrCstrA, handle), call(lib.LStrLengthA, handle))


def _ansi(value: Text) -> bytes:
    """value as the library's ANSI bytes."""
    if isinstance(value, bytes):
        return value
    with AnsiStr(value) as text:
        return bytes(text)


def _a_to_str(handle: int) -> str:
    wide = call(lib.LStrAllocCloneAW, handle)
    try:
        return _read_w(wide)
    finally:
        call(lib.LStrDestroyW, wide)


class _Str:
    """One string handle, destroyed by close(), by ``with`` or when collected."""

    F = ""  # the family letter
    _Wrapper: Any = None
    _List: Any = None

    def __init__(self, value: Text = "") -> None:
        self._handle: Optional[int] = None
        self._handle = self._make(value)

    # ---- lifetime ---------------------------------------------------------

    @classmethod
    def _adopt(cls: Type[S], handle: int) -> S:
        obj = cls.__new__(cls)
        obj._handle = handle
        return obj

    @property
    def handle(self) -> int:
        """The raw handle, for calling ``quarnel.lib`` directly."""
        if self._handle is None:
            raise ValueError("the handle is closed")
        return self._handle

    def close(self) -> None:
        handle, self._handle = self._handle, None
        if handle is not None:
            call(_fn("LStrDestroy" + self.F), handle)

    def __enter__(self: S) -> S:
        return self

    def __exit__(self, *exc: Any) -> None:
        self.close()

    def __del__(self) -> None:
        try:
            self.close()
        except Exception:  # the interpreter may be shutting down
            pass

    def _call(self, op: str, *args: Any) -> Any:
        return call(_fn("LStr" + op + self.F), self.handle, *args)

    def _new(self: S, op: str, *args: Any) -> S:
        return type(self)._adopt(self._call(op, *args))

    # ---- text in and out --------------------------------------------------

    @classmethod
    def _make(cls, value: Text) -> int:
        if isinstance(value, str):
            buf, units = _wide(value)
            return call(_fn("LStrAllocFromWSzStr" + cls.F), buf, units)
        return call(_fn("LStrAllocFromASzStr" + cls.F), bytes(value), len(value))

    def _operand(self, op: str, value: Union[Text, "_Str"]) -> None:
        """op with a handle of this family holding value."""
        if isinstance(value, type(self)):
            self._call(op, value.handle)
            return
        with type(self)(str(value) if isinstance(value, _Str) else value) as other:
            self._call(op, other.handle)

    def assign(self, value: Union[Text, "_Str"]) -> None:
        self._operand("Assign", value)

    def append(self: S, value: Union[Text, "_Str"]) -> S:
        self._operand("Append", value)
        return self

    __iadd__ = append

    def __len__(self) -> int:
        return int(self._call("Length"))

    def __str__(self) -> str:
        return _a_to_str(self.handle) if self.F == "A" else _read_w(self.handle)

    def __bytes__(self) -> bytes:
        if self.F == "A":
            return _read_a(self.handle)
        ansi = call(lib.LStrAllocCloneWA, self.handle)
        try:
            return _read_a(ansi)
        finally:
            call(lib.LStrDestroyA, ansi)

    def __repr__(self) -> str:
        return f"{type(self).__name__}({str(self)!r})" if self._handle else \
            f"<closed {type(self).__name__}>"

    def __eq__(self, other: object) -> bool:
        if isinstance(other, type(self)):
            return self._call("Compare", other.handle) == 0
        if isinstance(other, (str, bytes)):
            return (str(self) if isinstance(other, str) else bytes(self)) == other
        return NotImplemented

    __hash__ = None  # type: ignore[assignment]  # handles change in place

    # ---- positions (the handle's index base) --------------------------------

    @property
    def index_base(self) -> int:
        return int(self._call("GetCharIndexBase"))

    @index_base.setter
    def index_base(self, base: int) -> None:
        if not self._call("SetCharIndexBase", base):
            raise ValueError("the index base is 0 or 1")

    def char_at(self, position: int) -> str:
        """The character at position (under the handle's base); an AnsiStr
        gives its byte decoded from the ANSI code page (``bytes(h)`` has the
        raw bytes)."""
        if self.F == "W":
            # The library does not check W positions: reading outside the
            # text would read memory that is not the string's.
            first = self.index_base
            if not first <= position < first + len(self):
                raise RangeError(EXCEPTION_RANGE, f"position {position} is outside the text")
            return chr(self._call("GetCharAt", position))
        # One byte of the ANSI code page, decoded by the library.
        return str(AnsiStr(self._call("GetCharAt", position)))

    def find(self, pattern: Text) -> int:
        """The position of pattern's first occurrence, or the not-found value
        (0 under base 1, -1 under base 0)."""
        with type(self)(pattern) as p:
            return int(self._call("Pos", p.handle))

    # ---- new strings --------------------------------------------------------

    def copy(self: S) -> S:
        return type(self)._adopt(call(_fn(f"LStrAllocClone{self.F}{self.F}"), self.handle))

    def substring(self: S, position: int, count: int = -1) -> S:
        return self._new("SubString", position, count)

    def upper(self: S) -> S:
        return self._new("UpperCase")

    def lower(self: S) -> S:
        return self._new("LowerCase")

    def trim(self: S) -> S:
        return self._new("Trim")

    def replace(self: S, search: Text, replacement: Text) -> S:
        if self.F == "A":
            return self._new("Replace", _ansi(search), _ansi(replacement))
        return self._new("Replace", _wide(str(search))[0], _wide(str(replacement))[0])

    @classmethod
    def of_char(cls: Type[S], char: str, count: int) -> S:
        """count copies of one character."""
        code = ord(char)
        arg: Any = bytes([code]) if cls.F == "A" else code
        return cls._adopt(call(_fn("LStrAllocStringOfChar" + cls.F), arg, count))

    # ---- numbers ------------------------------------------------------------

    def to_int(self, default: Optional[int] = None) -> int:
        """The text as an int; ValueError when it is none, unless a default
        is given."""
        if default is None:
            return int(self._call("ToInt"))
        return int(self._call("ToIntDef", default))

    # ---- splitting ----------------------------------------------------------

    def _fields(self, split: Any, *args: Any, trim: bool) -> List[str]:
        source = self._Wrapper(self.handle, False)
        fields = self._List(_GROW_BY, 0, 0, None)
        try:
            call(split, byref(source), *args, byref(fields), trim)
            read = _a_to_str if self.F == "A" else _read_w
            return [read(fields.items[i].contents.handle) for i in range(fields.count)]
        finally:
            call(_fn("LStrListEnd" + self.F), byref(fields))

    def split(self, separator: str, trim: bool = False) -> List[str]:
        """The fields between separators (a trailing separator adds none)."""
        sep: Any = _ansi(separator)[:1] if self.F == "A" else ord(separator)
        return self._fields(_fn("SplitBySepEx" + self.F), sep, trim=trim)

    def split_widths(self, widths: Sequence[int], trim: bool = False) -> List[str]:
        """Fixed-width fields, laid end to end (a negative width: the rest)."""
        layout = (c_int * len(widths))(*widths)
        return self._fields(_fn("SplitByFixedLayout" + self.F), len(widths), layout, trim=trim)

    def split_columns(self, columns: Iterable[Tuple[int, int]], trim: bool = False) -> List[str]:
        """Fields by (first, last) column pairs, columns counting from 1."""
        flat = [c for pair in columns for c in pair]
        layout = (c_int * len(flat))(*flat)
        return self._fields(_fn("SplitByFixedLayoutEx" + self.F), len(flat) // 2, layout,
                            trim=trim)


class AnsiStr(_Str):
    """A byte string in the library's ANSI code page."""
    F = "A"
    _Wrapper = CLAnsiStr
    _List = CLAnsiStrList


class WideStr(_Str):
    """A UTF-16 string whose payload is a BSTR."""
    F = "W"
    _Wrapper = CLWideStr
    _List = CLWideStrList


def split_named(text: str, separator: str = "=", trim: bool = True) -> Optional[Tuple[str, str]]:
    """(name, value) split at the first separator, or None without one."""
    fields = CLWideStrList(_GROW_BY, 0, 0, None)
    try:
        found = call(lib.SplitNamedEquW, _wide(text)[0], byref(fields), trim, ord(separator))
        if not found:
            return None
        return _read_w(fields.items[0].contents.handle), _read_w(fields.items[1].contents.handle)
    finally:
        call(lib.LStrListEndW, byref(fields))

