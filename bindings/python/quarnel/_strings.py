"""``AnsiStr`` and ``WideStr``: one library handle each, used like bytes and str.

Both are immutable values: every operation returns a new object with its
own handle, equality and hashing agree with the builtin they stand for
(``AnsiStr`` with ``bytes``, ``WideStr`` with ``str``), and copies, deep
copies and unpickled objects get handles of their own, so no two objects
ever own one handle. Positions count from 0 and follow Python's rules for
negative indices and slices; lengths count the family's units (bytes, or
UTF-16 code units, where a character outside the BMP counts two).

Every text argument takes ``str``, ``bytes`` (in the library's code page),
``AnsiStr`` or ``WideStr``; conversions between the families are exact or
refused (UnicodeEncodeError / UnicodeDecodeError), and any other type is a
TypeError.
"""
import codecs
import operator
import threading
from ctypes import addressof, c_char_p, c_double, c_int, c_void_p
from enum import IntEnum
from typing import (Any, Callable, Iterable, Iterator, List, Optional, Sequence, SupportsIndex,
                    Tuple, Type, TypeVar, Union, cast)

from ._library import (CHECKED, FAST, CLAnsiStr, CLAnsiStrList, CLWideStr, CLWideStrList, check, closed,
                       arrays, bytes_at, decode16, encode16, enter, read_a, read_w,
                       size_at, state)

from ._text import INT_MAX, ansi_to_wide, code_page, length_of, type_error, wide_to_ansi
from .errors import (EXCEPTION_CONVERT, EXCEPTION_INTERNAL, EXCEPTION_OUT_OF_MEMORY,
                     EXCEPTION_RANGE, ConvertError, InternalError, OutOfMemoryError, RangeError)

S = TypeVar("S", bound="_Str")
#: What every text parameter takes.
Text = Union[str, bytes, bytearray, "AnsiStr", "WideStr"]
#: The characters the trimming methods remove: codes 0 to 32.
BLANKS = "".join(map(chr, range(33)))
_MISSING: Any = object()
_utf16 = codecs.utf_16_le_decode
_GROW_BY = 16
_close_lock = threading.Lock()


class FloatFormat(IntEnum):
    """Layouts of :meth:`AnsiStr.format_float` / :meth:`WideStr.format_float`."""
    GENERAL = 0
    EXPONENT = 1
    FIXED = 2
    NUMBER = 3
    CURRENCY = 4


def _int32(value: Any, arg: str, low: int = -INT_MAX - 1, high: int = INT_MAX) -> int:
    n = operator.index(value)
    if not low <= n <= high:
        raise OverflowError(f"{arg}: {n} is outside {low}..{high}")
    return n


def _count(value: Any, arg: str) -> int:
    """A count or width: beyond what a handle holds is out of memory."""
    n = operator.index(value)
    if n > INT_MAX:
        raise OutOfMemoryError(EXCEPTION_OUT_OF_MEMORY,
                               f"{arg}: {n} characters are more than a handle holds")
    return max(n, -1)


def _out_of_range(position: int) -> RangeError:
    return RangeError(EXCEPTION_RANGE, f"position {position} is outside the text")


class _Fields:
    """A thread's reusable list for one family's splits, and a view of each
    slot's record: the slots keep their handles from split to split, so the
    fields are read straight from the payloads."""

    __slots__ = ("wide", "list", "addr", "src", "src_addr", "views", "end")

    def __init__(self, wide: bool) -> None:
        self.wide = wide
        self.list: Any = (CLWideStrList if wide else CLAnsiStrList)(_GROW_BY, 0, 0, None)
        self.addr = addressof(self.list)
        self.src: Any = (CLWideStr if wide else CLAnsiStr)(None, False)
        self.src_addr = addressof(self.src)
        self.views: List[Any] = []
        self.end = FAST["LStrListEndW" if wide else "LStrListEndA"]

    def read(self, count: int) -> List[Any]:
        views = self.views
        if len(views) < count:
            view = c_void_p if self.wide else c_char_p
            items = self.list.items
            views += [view.from_address(items[i].contents.handle)
                      for i in range(len(views), self.list.capacity)]
        if not self.wide:
            # The list stores each field up to its first zero byte.
            return [v.value or b"" for v in views[:count]]
        out = []
        for v in views[:count]:
            p = v.value
            if p:
                size = size_at(p - 4).value
                array = arrays.get(size)
                out.append(_utf16(bytes_at(p, size) if array is None else
                                  array.from_address(p).raw, "surrogatepass", True)[0])
            else:
                out.append("")
        return out

    def __del__(self) -> None:
        try:
            self.views.clear()
            self.end(self.addr)
        except Exception:  # the interpreter is shutting down
            pass


class _ThreadLists(threading.local):
    a: Optional[_Fields] = None
    w: Optional[_Fields] = None


_lists = _ThreadLists()


class _Str:
    """What both families share; use :class:`AnsiStr` or :class:`WideStr`."""

    __slots__ = ("_h", "_hash", "_n", "__weakref__")
    _UNIT = 1
    _TERM = b""  # a bytes object already ends in a zero byte
    _WIDE = False
    _h: Optional[int]
    _hash: Optional[int]
    _n: int  # the length in units, -1 until known (the text never changes)
    # The family's functions, bound by _bind().
    _Alloc: Any
    _Clone: Any
    _FromText: Any
    _FromChar: Any
    _StringOfChar: Any
    _Destroy: Any
    _Length: Any
    _GetCharAt: Any
    _Append: Any
    _AppendText: Any
    _Compare: Any
    _CompareIC: Any
    _Pos: Any
    _PosPtr: Any
    _SubString: Any
    _Left: Any
    _Right: Any
    _LastDelimiter: Any
    _LowerCase: Any
    _UpperCase: Any
    _Trim: Any
    _TrimLeft: Any
    _TrimRight: Any
    _PadLeft: Any
    _PadRight: Any
    _Replace: Any
    _SplitBySepEx: Any
    _SplitByFixedLayout: Any
    _SplitByFixedLayoutEx: Any
    _SplitNamedEqu: Any
    _LoadStr: Any
    _FromInt64: Any
    _FromUInt64: Any
    _FromDouble: Any
    _IntToHex: Any
    _ToInt: Any
    _ToIntDef: Any
    _ToDoubleDef: Any
    _FloatToStrF: Any
    _FormatFloat: Any

    # ---- family hooks (overridden) ------------------------------------------

    @staticmethod
    def _text_of(value: Any, arg: str) -> bytes:
        raise NotImplementedError

    @staticmethod
    def _value(data: bytes) -> Any:
        raise NotImplementedError

    @classmethod
    def _unit_of(cls, value: Any, arg: str) -> Any:
        raise NotImplementedError

    @classmethod
    def _terminated(cls, data: bytes, arg: str) -> bytes:
        """data for a zero-terminated argument; a zero unit inside it would
        cut it short, so it is refused."""
        zero = b"\0" * cls._UNIT
        if any(data[i:i + cls._UNIT] == zero for i in range(0, len(data), cls._UNIT)):
            raise ValueError(f"{arg}: holds a zero character, where the library stops reading")
        return data + cls._TERM

    # ---- lifetime -------------------------------------------------------------

    def __init__(self, value: Text = "") -> None:
        """A new handle holding value: str, bytes in the library's code page,
        an AnsiStr or a WideStr (converted exactly)."""
        self._h = None
        self._hash = None
        self._n = -1
        if isinstance(value, type(self)):
            self._h = self._checked(self._Clone(value._handle()))
            return
        data = self._text_of(value, "value")
        if not state.recording:
            enter()
        self._n = length_of(len(data), self._UNIT, "value")
        self._h = self._checked(self._FromText(data, self._n) if data else self._Alloc())

    @staticmethod
    def _checked(handle: Optional[int]) -> int:
        if not handle:
            check()
            raise InternalError(EXCEPTION_INTERNAL, "the library returned no handle")
        return handle

    @classmethod
    def _adopt(cls: Type[S], handle: Optional[int]) -> S:
        if not handle:
            cls._checked(handle)
        obj = object.__new__(cls)
        obj._h = handle
        obj._hash = None
        obj._n = -1
        return obj

    @classmethod
    def _from_data(cls: Type[S], data: bytes) -> S:
        if not state.recording:
            enter()
        return cls._adopt(cls._FromText(data, length_of(len(data), cls._UNIT, "value")))

    def _handle(self) -> int:
        """The live handle, with the thread ready for a call that can fail."""
        h = self._h
        if h is None:
            raise closed(self)
        if not state.recording:
            enter()
        return h

    @property
    def handle(self) -> int:
        """The raw handle, for ``quarnel.lib``; it stays this object's (do
        not destroy it, nor change it: hashes and lengths are cached)."""
        return self._handle()

    @property
    def _as_parameter_(self) -> int:
        """Lets the object itself be passed to ``quarnel.lib`` for a handle,
        which keeps it alive for the length of the call."""
        return self._handle()

    @property
    def closed(self) -> bool:
        """Whether close() has released the handle."""
        return self._h is None

    def close(self) -> None:
        """Releases the handle now; later use raises InvalidHandleError (a
        ValueError). Closing twice does nothing."""
        with _close_lock:
            h, self._h = self._h, None
        if h is not None:
            if not state.recording:
                enter()
            self._Destroy(h)
            check()

    def __enter__(self: S) -> S:
        return self

    def __exit__(self, *exc: Any) -> None:
        self.close()

    def __del__(self) -> None:
        try:
            h = self._h
            if h is not None:
                if CHECKED and not state.recording:
                    enter()
                self._Destroy(h)
        except Exception:  # never constructed, or the interpreter is shutting down
            pass

    def copy(self: S) -> S:
        """A new object with its own handle (constant time for AnsiStr, whose
        payloads are shared copy-on-write)."""
        return type(self)._adopt(self._Clone(self._handle()))

    __copy__ = copy

    def __deepcopy__(self: S, memo: Any) -> S:
        return self.copy()

    def __reduce__(self) -> Tuple[Any, Tuple[Any]]:
        return type(self), (self._value(self._read()),)

    # ---- reading --------------------------------------------------------------

    def _read(self) -> bytes:
        raise NotImplementedError

    def __len__(self) -> int:
        h = self._h
        if h is None:
            raise closed(self)
        if CHECKED and not state.recording:
            enter()
        n: int = self._Length(h)
        if not n:
            check()
        return n

    def __hash__(self) -> int:
        if self._hash is None:
            self._hash = hash(self._value(self._read()))
        return self._hash

    def __format__(self, format_spec: str) -> str:
        return format(str(self), format_spec)

    def __repr__(self) -> str:
        if self._h is None:
            return f"<closed {type(self).__name__}>"
        return f"{type(self).__name__}({self._value(self._read())!r})"

    def _index(self, key: SupportsIndex) -> int:
        """A 1-based position from a Python index, range-checked."""
        i = operator.index(key)
        if i < 0:
            i += len(self)
            if i < 0:
                raise _out_of_range(i - len(self))
        elif i >= INT_MAX:
            raise _out_of_range(i)
        return i + 1

    def _slice(self: S, key: slice) -> S:
        start, stop, step = key.indices(len(self))
        if step != 1:
            data, unit = self._read(), self._UNIT
            return type(self)._from_data(b"".join(
                data[i * unit:(i + 1) * unit] for i in range(start, stop, step)))
        h = self._handle()
        if start == 0:
            return type(self)._adopt(self._Left(h, stop))
        if stop >= self._Length(h):
            return type(self)._adopt(self._Right(h, max(stop - start, 0)))
        return type(self)._adopt(self._SubString(h, start + 1, max(stop - start, 0)))

    def __iter__(self) -> Iterator[Any]:
        raise NotImplementedError

    def __reversed__(self) -> Iterator[Any]:
        return reversed(list(iter(self)))

    # ---- comparison -------------------------------------------------------------

    def _other_value(self, other: object) -> Any:
        raise NotImplementedError

    def _closed_pair(self, other: object) -> bool:
        """Whether either side is closed: such objects equal only themselves."""
        return self._h is None or (isinstance(other, _Str) and other._h is None)

    def __eq__(self, other: object) -> bool:
        if self._closed_pair(other):
            return self is other
        value = self._other_value(other)
        if value is NotImplemented:
            return NotImplemented
        return bool(self._value(self._read()) == value)

    def __ne__(self, other: object) -> bool:
        equal = self.__eq__(other)
        return equal if equal is NotImplemented else not equal

    def _order(self, other: object, test: Callable[[Any, Any], bool]) -> bool:
        value = self._other_value(other)
        if value is NotImplemented:
            return NotImplemented
        return test(self._value(self._read()), value)

    def __lt__(self, other: object) -> bool:
        return self._order(other, operator.lt)

    def __le__(self, other: object) -> bool:
        return self._order(other, operator.le)

    def __gt__(self, other: object) -> bool:
        return self._order(other, operator.gt)

    def __ge__(self, other: object) -> bool:
        return self._order(other, operator.ge)

    def compare(self, other: Text, ignore_case: bool = False) -> int:
        """The library's comparison: negative, zero or positive. AnsiStr
        compares unsigned bytes (ignore_case: by the user's locale, up to the
        first zero byte); WideStr compares UTF-16 units up to the first zero
        unit (ignore_case: each unit folded to lower case)."""
        with self._operand(other, "other") as o:
            fn = self._CompareIC if ignore_case else self._Compare
            return int(fn(self._handle(), o._handle()))

    def _operand(self: S, value: Any, arg: str) -> S:
        """value as an object of this family; a fresh copy when it is one
        already, so that the caller may close it."""
        if isinstance(value, type(self)):
            return value.copy()
        return type(self)._from_data(self._text_of(value, arg))

    # ---- building -----------------------------------------------------------------

    def __add__(self: S, other: Any) -> S:
        try:
            data = None if isinstance(other, type(self)) else self._text_of(other, "other")
        except TypeError:
            return NotImplemented
        result = self.copy()
        if data is None:
            n = self._Append(result._h, other._handle())
        else:
            n = self._AppendText(result._h, data, length_of(len(data), self._UNIT, "other"))
        if not n:
            check()
        return result

    def __radd__(self: S, other: Any) -> S:
        try:
            result = type(self)._from_data(self._text_of(other, "other"))
        except TypeError:
            return NotImplemented
        if not self._Append(result._h, self._handle()):
            check()
        return result

    def __mul__(self: S, count: Any) -> S:
        try:
            n = operator.index(count)
        except TypeError:
            return NotImplemented
        result = type(self)()
        if n <= 0 or not len(self):
            return result
        # Doubling: appending a handle to itself doubles its text.
        part = self.copy()
        while True:
            if n & 1 and not self._Append(result._h, part._h):
                check()
            n >>= 1
            if not n:
                return result
            if not self._Append(part._h, part._h):
                check()

    __rmul__ = __mul__

    # ---- searching --------------------------------------------------------------

    def _pos(self, h: int, pattern: bytes) -> int:
        """The 1-based position of pattern in h (0: not found)."""
        zero = b"\0" * self._UNIT
        if not any(pattern[i:i + self._UNIT] == zero for i in range(0, len(pattern), self._UNIT)):
            return int(self._PosPtr(h, pattern + self._TERM))
        with type(self)._from_data(pattern) as p:
            return int(self._Pos(h, p._h))

    def find(self, sub: Text, start: Optional[SupportsIndex] = None,
             end: Optional[SupportsIndex] = None) -> int:
        """The index of sub's first occurrence within [start:end], or -1, as
        str.find / bytes.find."""
        pattern = sub if type(sub) is bytes and not self._WIDE else self._text_of(sub, "sub")
        h = self._h
        if h is None:
            raise closed(self)
        if CHECKED and not state.recording:
            enter()
        if start is None and end is None:
            if 0 not in pattern:
                return self._PosPtr(h, pattern + self._TERM) - 1 if pattern else 0  # type: ignore[no-any-return]
            return self._pos(h, pattern) - 1
        n = len(self)
        first = 0 if start is None else operator.index(start)
        last = n if end is None else operator.index(end)
        first = max(first + n, 0) if first < 0 else first
        last = max(last + n, 0) if last < 0 else min(last, n)
        units = len(pattern) // self._UNIT
        if first > n or last - first < units:
            return -1
        if not units:
            return first
        with type(self)._adopt(self._SubString(h, first + 1, last - first)) as part:
            at = self._pos(part._handle(), pattern)
        return first + at - 1 if at else -1

    def index(self, sub: Text, start: Optional[SupportsIndex] = None,
              end: Optional[SupportsIndex] = None) -> int:
        """As find, but ValueError when sub does not occur."""
        at = self.find(sub, start, end)
        if at < 0:
            raise ValueError("substring not found")
        return at

    def __contains__(self, sub: Any) -> bool:
        return self.find(sub) >= 0

    def rfind_any(self, chars: Text) -> int:
        """The index of the last character that is one of chars, or -1 (as
        max(s.rfind(c) for c in chars)); chars is read up to a zero."""
        with self._operand(chars, "chars") as delimiters:
            return int(self._LastDelimiter(self._handle(), delimiters._handle())) - 1

    # ---- new strings ------------------------------------------------------------

    def upper(self: S) -> S:
        """Upper case under the user's locale, unit by unit (the length never
        changes, unlike str.upper for 'ß')."""
        return type(self)._adopt(self._UpperCase(self._handle()))

    def lower(self: S) -> S:
        """Lower case under the user's locale, unit by unit."""
        return type(self)._adopt(self._LowerCase(self._handle()))

    def strip(self: S) -> S:
        """Without the characters of code 0 to 32 at both ends (BLANKS; not
        Unicode spaces). WideStr: the result also ends before a zero unit
        left inside it."""
        return type(self)._adopt(self._Trim(self._handle()))

    def lstrip(self: S) -> S:
        """Without the BLANKS at the start."""
        return type(self)._adopt(self._TrimLeft(self._handle()))

    def rstrip(self: S) -> S:
        """Without the BLANKS at the end."""
        return type(self)._adopt(self._TrimRight(self._handle()))

    def ljust(self: S, width: SupportsIndex, fillchar: Text = " ") -> S:
        """Padded on the right with fillchar (one unit) to width units."""
        fill = self._unit_of(fillchar, "fillchar")
        return type(self)._adopt(self._PadRight(self._handle(), fill, _count(width, "width")))

    def rjust(self: S, width: SupportsIndex, fillchar: Text = " ") -> S:
        """Padded on the left with fillchar (one unit) to width units."""
        fill = self._unit_of(fillchar, "fillchar")
        return type(self)._adopt(self._PadLeft(self._handle(), fill, _count(width, "width")))

    def replace(self: S, old: Text, new: Text) -> S:
        """Every occurrence of old replaced by new, in the library's passes:
        each pass replaces the first occurrence left, so an occurrence that a
        replacement forms with its neighbours is replaced too ("aabb",
        "ab" -> "a" gives "aa"); when new contains old, one left-to-right
        pass as str.replace. An empty old gives a copy."""
        search = self._terminated(self._text_of(old, "old"), "old")
        replacement = self._terminated(self._text_of(new, "new"), "new")
        return type(self)._adopt(self._Replace(self._handle(), search, replacement))

    # ---- splitting --------------------------------------------------------------

    def _take_fields(self) -> _Fields:
        """The thread's list, taken out of its slot while in use so that a
        split run meanwhile on this thread (from a signal handler) gets a
        list of its own; _give_fields puts it back."""
        if self._WIDE:
            fields, _lists.w = _lists.w, None
        else:
            fields, _lists.a = _lists.a, None
        return fields if fields is not None else _Fields(self._WIDE)

    def _give_fields(self, fields: _Fields) -> None:
        if self._WIDE:
            _lists.w = fields
        else:
            _lists.a = fields

    def split(self, separator: Text, trim: bool = False) -> List[Any]:
        """The fields between separators (one unit), as bytes (AnsiStr) or
        str (WideStr). Unlike str.split, a separator that ends the text adds
        no empty field, an empty text has none, and a field ends at a zero
        character. trim removes the BLANKS around each field."""
        if type(separator) is str and len(separator) == 1 and separator < "\x80":
            sep: Any = ord(separator) if self._WIDE else separator.encode()
        else:
            sep = self._unit_of(separator, "separator")
        h = self._handle()
        fields = self._take_fields()
        try:
            fields.src.handle = h
            n = self._SplitBySepEx(fields.src_addr, sep, fields.addr, trim)
            if not n:
                check()
            return fields.read(n)
        finally:
            self._give_fields(fields)

    def split_widths(self, widths: Sequence[Optional[int]], trim: bool = False) -> List[Any]:
        """Fixed-width fields laid end to end; a width of None (or negative)
        takes the rest of the text. One field per width."""
        layout = [-1 if w is None else _int32(w, "widths") for w in widths]
        return self._layout(self._SplitByFixedLayout, layout, trim)

    def split_columns(self, columns: Iterable[Tuple[int, Optional[int]]],
                      trim: bool = False) -> List[Any]:
        """Fields by (start, stop) index pairs, as slices [start:stop]
        (start >= 0; stop None for the rest). One field per pair."""
        layout = []
        for start, stop in columns:
            first = _int32(start, "columns", 0, INT_MAX - 1) + 1
            layout += [first, first - 2 if stop is None else _int32(stop, "columns")]
        return self._layout(self._SplitByFixedLayoutEx, layout, trim, len(layout) // 2)

    def _layout(self, split: Any, layout: List[int], trim: bool,
                count: Optional[int] = None) -> List[Any]:
        count = len(layout) if count is None else count
        if not count:
            return []
        h = self._handle()
        array = (c_int * len(layout))(*layout)
        fields = self._take_fields()
        try:
            fields.src.handle = h
            if not split(fields.src_addr, count, addressof(array), fields.addr, trim):
                check()
            return fields.read(count)
        finally:
            self._give_fields(fields)

    def split_named(self, separator: Text = "=", trim: bool = True) -> Optional[Tuple[Any, Any]]:
        """(name, value) cut at the first separator (one unit), or None when
        there is none; trim removes the BLANKS around both."""
        sep = self._unit_of(separator, "separator")
        text = self._terminated(self._read(), "the text")
        if not state.recording:
            enter()
        fields = self._take_fields()
        try:
            if not self._SplitNamedEqu(text, fields.addr, trim, sep):
                check()
                return None
            name, value = fields.read(2)
            return name, value
        finally:
            self._give_fields(fields)

    # ---- numbers ------------------------------------------------------------------

    def _in_range(self) -> bool:
        """Whether the text, read as the library reads integers, fits in 32
        bits (the library reads longer numbers modulo 2**32). Only texts of
        ten units or more can hold such a number."""
        text = self._value(self._read())
        if isinstance(text, bytes):
            text = text.decode("latin-1")
        text = text.lstrip(" \t\n\v\f\r")
        sign = text[:1] in ("-", "+")
        digits = text[sign:]
        if digits[:2].lower() == "0x" and len(text) > 2:
            digits, base = digits[2:], 16
        elif digits[:1] in ("$", "x", "X"):
            digits, base = digits[1:], 16
        else:
            base = 10
        run = len(digits) - len(digits.lstrip("0123456789abcdefABCDEF" if base == 16
                                               else "0123456789"))
        if not run:
            return True
        value = int(digits[:run], base)
        if base == 16:
            return value <= 0xFFFFFFFF
        return -0x80000000 <= (-value if text[:1] == "-" else value) <= INT_MAX

    def to_int(self, default: Any = _MISSING) -> Any:
        """The text as a 32-bit integer: decimal, or hexadecimal after "0x",
        "$" or "x" (as a 32-bit pattern: "0xFFFFFFFF" is -1). Text that is
        not a number, or a number beyond 32 bits, gives default, or raises
        ConvertError (a ValueError) when there is none. With a default the
        number must be all of the text after leading white space; without,
        a "0x" number may be followed by other text ("0x1FZZ" is 31)."""
        h = self._h
        if h is None:
            raise closed(self)
        if not state.recording:
            enter()
        if default is _MISSING:
            n: int = self._ToInt(h)
            if not n:
                check()
        else:
            n = self._ToIntDef(h, 0)
            if not n and self._ToIntDef(h, 1) == 1:
                return default
        # Only a text of ten units or more can hold a number beyond 32 bits,
        # which the library reads modulo 2**32.
        units = self._n
        if units < 0:
            units = self._n = self._Length(h)
        if units >= 10 and not self._in_range():
            if default is _MISSING:
                raise ConvertError(EXCEPTION_CONVERT, f"{self!r} is beyond 32 bits")
            return default
        return n

    def to_float(self, default: Any = _MISSING) -> Any:
        """The whole text as a C floating-point number ("." is the decimal
        point, whatever the locale), or default, or ConvertError when there
        is none."""
        h = self._handle()
        x: float = self._ToDoubleDef(h, 0.0)
        if x == 0.0 and self._ToDoubleDef(h, 1.0) == 1.0:
            if default is _MISSING:
                raise ConvertError(EXCEPTION_CONVERT, f"{self!r} is not a number")
            return default
        return x

    @classmethod
    def from_int(cls: Type[S], value: SupportsIndex) -> S:
        """The decimal text of a 64-bit integer, signed or unsigned."""
        n = operator.index(value)
        if not state.recording:
            enter()
        if -2**63 <= n < 2**63:
            return cls._adopt(cls._FromInt64(n))
        if 0 <= n < 2**64:
            return cls._adopt(cls._FromUInt64(n))
        raise OverflowError(f"value: {n} is beyond 64 bits")

    @classmethod
    def from_float(cls: Type[S], value: float) -> S:
        """The general text of a float: at most 15 significant digits, the
        user's decimal separator ("1E20", "0.333333333333333", "NAN", "INF")."""
        if not state.recording:
            enter()
        return cls._adopt(cls._FromDouble(float(value)))

    @classmethod
    def int_to_hex(cls: Type[S], value: SupportsIndex, digits: SupportsIndex = 0) -> S:
        """value's 32-bit pattern in upper-case hexadecimal, zero-padded to at
        least digits: (255, 4) gives "00FF", (-1) "FFFFFFFF"."""
        n = _int32(value, "value", -2**31, 2**32 - 1)
        if not state.recording:
            enter()
        return cls._adopt(cls._IntToHex(n - 2**32 if n > INT_MAX else n,
                                        _count(digits, "digits")))

    @classmethod
    def format_float(cls: Type[S], value: float, format: int = FloatFormat.GENERAL,
                     precision: int = 15, digits: int = 0) -> S:
        """value laid out by a FloatFormat with precision significant digits
        (1..18) and digits as that format uses them (decimals for FIXED,
        NUMBER and CURRENCY; the exponent's width otherwise), by the user's
        regional settings: (1234.5, NUMBER, 15, 2) gives "1,234.50"."""
        if not state.recording:
            enter()
        return cls._adopt(cls._FloatToStrF(float(value), _int32(format, "format"),
                                           _int32(precision, "precision"),
                                           _int32(digits, "digits")))

    def format_number(self: S, value: float) -> S:
        """value laid out by this text as a picture ("#,##0.00;(#,##0.00)",
        "0.000E+00"): up to three ';' sections for positive, negative and
        zero values."""
        number = c_double(float(value))
        return type(self)._adopt(self._FormatFloat(self._handle(), addressof(number)))

    # ---- other sources ----------------------------------------------------------

    @classmethod
    def of_char(cls: Type[S], char: Text, count: SupportsIndex = 1) -> S:
        """count copies of one character (one unit of the family)."""
        unit = cls._unit_of(char, "char")
        n = _count(count, "count")
        if not state.recording:
            enter()
        if n == 1 and unit not in (0, b"\0"):
            return cls._adopt(cls._FromChar(unit))
        return cls._adopt(cls._StringOfChar(unit, n))

    @classmethod
    def load_string(cls: Type[S], module: Any, ident: int) -> S:
        """Entry ident (0..65535) of a module's string table: module is None
        (the program), a loaded ctypes library or its handle. Empty when the
        entry is absent."""
        address = getattr(module, "_handle", module)
        if not state.recording:
            enter()
        return cls._adopt(cls._LoadStr(address, _int32(ident, "ident", 0, 0xFFFF)))


def _bind(cls: Type[_Str], f: str) -> None:
    names = {
        "Alloc": f"LStrAlloc{f}", "Clone": f"LStrAllocClone{f}{f}",
        "FromText": f"LStrAllocFrom{f}SzStr{f}", "FromChar": f"LStrAllocFromChar{f}",
        "StringOfChar": f"LStrAllocStringOfChar{f}", "AppendText": f"LStrAppend{f}SzStr{f}",
        "SplitBySepEx": f"SplitBySepEx{f}", "SplitByFixedLayout": f"SplitByFixedLayout{f}",
        "SplitByFixedLayoutEx": f"SplitByFixedLayoutEx{f}", "SplitNamedEqu": f"SplitNamedEqu{f}",
        "LoadStr": f"LStrAllocLoadStr{f}", "FromInt64": f"LStrAllocFromInt64{f}",
        "FromUInt64": f"LStrAllocFromUInt64{f}", "FromDouble": f"LStrAllocFromDouble{f}",
    }
    for attr in _Str.__annotations__:
        op = attr[1:]
        if attr.startswith("_") and op[:1].isupper():
            setattr(cls, attr, FAST[names.get(op, f"LStr{op}{f}")])


class AnsiStr(_Str):
    """A byte string in the library's ANSI code page, used like ``bytes``
    (indexing gives ints, equality and hashing are those of the bytes) with
    text helpers: ``str()``, ``format()`` and f-strings give the decoded
    text, and methods take str arguments as well."""

    __slots__ = ()
    _CloneAW: Any

    @staticmethod
    def _text_of(value: Any, arg: str) -> bytes:
        t = type(value)
        if t is bytes:
            return cast(bytes, value)
        if t is str:
            text = cast(str, value)
            return text.encode("ascii") if text.isascii() else \
                wide_to_ansi(encode16(text), arg)
        if isinstance(value, AnsiStr):
            return value._read()
        if isinstance(value, WideStr):
            return wide_to_ansi(value._read(), arg)
        if isinstance(value, (bytes, bytearray)):
            return bytes(value)
        if isinstance(value, str):
            return AnsiStr._text_of(str.__str__(value), arg)
        raise type_error(arg, value)

    @staticmethod
    def _value(data: bytes) -> bytes:
        return data

    @classmethod
    def _unit_of(cls, value: Any, arg: str) -> bytes:
        data = cls._text_of(value, arg)
        if len(data) != 1:
            raise ValueError(f"{arg}: must be one byte in code page {code_page()}, "
                             f"not {len(data)} ({value!r})")
        return data

    def _read(self) -> bytes:
        h = self._h
        if h is None:
            raise closed(self)
        return read_a(h)

    def _other_value(self, other: object) -> Any:
        if isinstance(other, AnsiStr):
            return other._read()
        if isinstance(other, (bytes, bytearray)):
            return other
        return NotImplemented

    def __eq__(self, other: object) -> bool:
        if isinstance(other, AnsiStr) and not self._closed_pair(other):
            return bool(self._Compare(self._handle(), other._handle()) == 0)
        return super().__eq__(other)

    __hash__ = _Str.__hash__

    def __str__(self) -> str:
        """The text decoded from the code page (bytes it cannot read become
        U+FFFD); decode() refuses them instead."""
        wide = self._CloneAW(self._handle())
        if not wide:
            check()
        try:
            return decode16(read_w(wide))
        finally:
            _destroy_w(wide)

    def __bytes__(self) -> bytes:
        return self._read()

    def decode(self, errors: str = "strict") -> str:
        """The text decoded from the library's code page; errors "strict"
        refuses invalid bytes with UnicodeDecodeError, "replace" keeps the
        library's replacement characters."""
        if errors not in ("strict", "replace"):
            raise ValueError(f"errors: 'strict' or 'replace', not {errors!r}")
        return decode16(ansi_to_wide(self._read(), "self", errors == "strict"))

    def __getitem__(self, key: Any) -> Any:
        """An int for an index (as bytes), an AnsiStr for a slice."""
        if isinstance(key, slice):
            return self._slice(key)
        position = self._index(key)
        byte = self._GetCharAt(self._handle(), position)
        if byte == b"\0":
            check()
        return byte[0]

    def __iter__(self) -> Iterator[int]:
        return iter(self._read())

    def find(self, sub: Text, start: Optional[SupportsIndex] = None,
             end: Optional[SupportsIndex] = None) -> int:
        """The index of sub's first occurrence within [start:end], or -1, as
        bytes.find."""
        h = self._h
        if type(sub) is bytes and start is None is end and h is not None and not CHECKED \
                and sub and 0 not in sub:
            return _pos_ptr_a(h, sub) - 1  # type: ignore[no-any-return]
        return super().find(sub, start, end)

    def __contains__(self, sub: Any) -> bool:
        """An int (a byte value) or text, as bytes."""
        if isinstance(sub, int):
            if not 0 <= sub <= 255:
                raise ValueError("byte must be in range(0, 256)")
            sub = bytes((sub,))
        return self.find(sub) >= 0


class WideStr(_Str):
    """A UTF-16 string (its payload a BSTR), used like ``str``: equality,
    ordering and hashing are those of the str. Indices and lengths count
    UTF-16 units, so a character outside the BMP is two items."""

    __slots__ = ()
    _UNIT = 2
    _TERM = b"\0\0"
    _WIDE = True

    @staticmethod
    def _text_of(value: Any, arg: str) -> bytes:
        t = type(value)
        if t is str:
            return encode16(cast(str, value))
        if t is bytes:
            return ansi_to_wide(value, arg)
        if isinstance(value, WideStr):
            return value._read()
        if isinstance(value, AnsiStr):
            return ansi_to_wide(value._read(), arg)
        if isinstance(value, str):
            return encode16(str.__str__(value))
        if isinstance(value, (bytes, bytearray)):
            return ansi_to_wide(bytes(value), arg)
        raise type_error(arg, value)

    @staticmethod
    def _value(data: bytes) -> str:
        return decode16(data)

    @classmethod
    def _unit_of(cls, value: Any, arg: str) -> int:
        data = cls._text_of(value, arg)
        if len(data) != 2:
            raise ValueError(f"{arg}: must be one UTF-16 unit, not {len(data) // 2} "
                             f"({value!r})")
        return data[0] | data[1] << 8

    def _read(self) -> bytes:
        h = self._h
        if h is None:
            raise closed(self)
        return read_w(h)

    def _other_value(self, other: object) -> Any:
        if isinstance(other, WideStr):
            return str(other)
        if isinstance(other, str):
            return other
        return NotImplemented

    def __str__(self) -> str:
        return decode16(self._read())

    def __bytes__(self) -> bytes:
        """The text in the library's code page (UnicodeEncodeError for
        characters it lacks)."""
        return wide_to_ansi(self._read(), "self")

    def encode(self, errors: str = "strict") -> bytes:
        """The text in the library's code page; errors "strict" refuses
        characters the page lacks, "replace" keeps the library's default
        character for them."""
        if errors not in ("strict", "replace"):
            raise ValueError(f"errors: 'strict' or 'replace', not {errors!r}")
        return wide_to_ansi(self._read(), "self", errors == "strict")

    def __getitem__(self, key: Any) -> Any:
        """A one-unit str for an index, a WideStr for a slice."""
        if isinstance(key, slice):
            return self._slice(key)
        position = self._index(key)
        h = self._handle()
        # The library does not check W positions; reading past the text
        # would read memory that is not the string's.
        units = self._n
        if units < 0:
            units = self._n = self._Length(h)
        if position > units:
            raise _out_of_range(position - 1)
        return chr(self._GetCharAt(h, position))

    def find(self, sub: Text, start: Optional[SupportsIndex] = None,
             end: Optional[SupportsIndex] = None) -> int:
        """The index (in UTF-16 units) of sub's first occurrence within
        [start:end], or -1, as str.find."""
        h = self._h
        if type(sub) is str and start is None is end and h is not None and not CHECKED \
                and sub and "\0" not in sub:
            return _pos_ptr_w(h, encode16(sub) + b"\0\0") - 1  # type: ignore[no-any-return]
        return super().find(sub, start, end)

    def __iter__(self) -> Iterator[str]:
        data = self._read()
        return iter([chr(data[i] | data[i + 1] << 8) for i in range(0, len(data), 2)])


AnsiStr._CloneAW = FAST["LStrAllocCloneAW"]
_pos_ptr_a = FAST["LStrPosPtrA"]
_pos_ptr_w = FAST["LStrPosPtrW"]
_destroy_w = FAST["LStrDestroyW"]
_bind(AnsiStr, "A")
_bind(WideStr, "W")
