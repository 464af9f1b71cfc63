"""Finds the library, declares every export and turns failures into exceptions.

Two views of the same exports are built from one generated table
(``_exports.EXPORTS``), so a pointer result is never left as ctypes' default
``int``:

* ``lib``, the public raw layer: each export takes the C types (handles as
  ints, UTF-16 text as ``c_uint16`` arrays: ``c_wchar`` is 32 bits wide on
  Linux), puts the calling thread in record mode first and raises the
  recorded failure;
* ``FAST``, the classes' own declarations of the same functions, which take
  ``bytes`` for text of both families and addresses as ints, and leave the
  failure check to the caller, who knows when a call can fail.

The library's failure mode is per thread and starts as "raise", which would
end the process at the first failure on a thread that never asked for
"record". Every path into the library here switches the calling thread to
record mode before its first call that can fail, on whichever thread it runs.

The functions are loaded so that they keep the GIL while they run. The A
family may write a handle's record while only reading it (a character read
gives the handle a private copy of a shared payload), so two Python threads
reading one object at once must not both be inside the library; the calls
are short, and keeping the GIL is also cheaper than releasing it.
"""
import codecs
import ctypes
import os
import sys
import threading
from ctypes import (POINTER, c_bool, c_char, c_char_p, c_double, c_int, c_int32, c_int64,
                    c_uint, c_uint16, c_uint32, c_uint64, c_void_p, string_at)
from typing import Any, Callable, Dict, List, Optional, Tuple

from ._exports import EXPORTS, Exports
from .errors import EXCEPTION_INVALID_HANDLE, QuarnelError, error_for

WINDOWS = sys.platform == "win32"
LIBRARY_NAMES = ["Quarnel.dll"] if WINDOWS else ["libquarnel.so.0", "libquarnel.so"]
#: Where a wheel that ships the library keeps it, inside the package.
BUNDLED_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "_lib")


class CLAnsiStr(ctypes.Structure):
    """A wrapper of one A handle; the library ends it only when owned."""
    _fields_ = [("handle", c_void_p), ("owned", c_bool)]


class CLWideStr(ctypes.Structure):
    """A wrapper of one W handle; the library ends it only when owned."""
    _fields_ = [("handle", c_void_p), ("owned", c_bool)]


class CLAnsiStrList(ctypes.Structure):
    """The growable list the A splitting functions fill; end it with LStrListEndA."""
    _fields_ = [("growBy", c_int32), ("capacity", c_int32), ("count", c_int32),
                ("items", POINTER(POINTER(CLAnsiStr)))]


class CLWideStrList(ctypes.Structure):
    """The growable list the W splitting functions fill; end it with LStrListEndW."""
    _fields_ = [("growBy", c_int32), ("capacity", c_int32), ("count", c_int32),
                ("items", POINTER(POINTER(CLWideStr)))]


_SCALARS: Dict[str, Any] = {
    "int": c_int, "uint": c_uint, "bool": c_bool, "char_a": c_char, "char_w": c_uint16,
    "double": c_double, "int64": c_int64, "uint64": c_uint64,
}
_RAW_ARGUMENTS: Dict[str, Any] = dict(_SCALARS, **{
    "handle_a": c_void_p, "handle_w": c_void_p, "text_a": c_char_p, "chars_a": c_char_p,
    "text_w": POINTER(c_uint16), "chars_w": POINTER(c_uint16), "bstr_ref": c_void_p,
    "pointer": c_void_p, "wrapper_a": POINTER(CLAnsiStr), "wrappers_a": POINTER(CLAnsiStr),
    "wrapper_w": POINTER(CLWideStr), "wrappers_w": POINTER(CLWideStr),
    "list_a": POINTER(CLAnsiStrList), "list_w": POINTER(CLWideStrList),
    "ints": POINTER(c_int), "double_ref": POINTER(c_double),
})
# The classes pass text of both families as bytes (UTF-16-LE for W) and
# every structure by address.
_FAST_ARGUMENTS: Dict[str, Any] = dict(_SCALARS, **{
    kind: c_void_p for kind in ("handle_a", "handle_w", "chars_w", "bstr_ref", "pointer",
                                "wrapper_a", "wrappers_a", "wrapper_w", "wrappers_w",
                                "list_a", "list_w", "ints", "double_ref")
}, text_a=c_char_p, chars_a=c_char_p, text_w=c_char_p)
# Every pointer a function returns stays a raw address: text is read with
# an explicit length, since it may hold zeros.
_RESULTS: Dict[str, Any] = dict(_SCALARS, void=None, **{
    kind: c_void_p for kind in ("handle_a", "handle_w", "text_a", "chars_a", "text_w",
                                "chars_w", "bstr_ref", "pointer")
})


def candidates() -> List[str]:
    """Where the library is looked for, in order: a copy shipped inside the
    package (``quarnel/_lib``), then ``QUARNEL_LIBRARY`` (a full path), then
    the plain name for the system's own search."""
    bundled = [os.path.join(BUNDLED_DIR, n) for n in LIBRARY_NAMES
               if os.path.isfile(os.path.join(BUNDLED_DIR, n))]
    override = os.environ.get("QUARNEL_LIBRARY")
    return bundled + ([override] if override else []) + LIBRARY_NAMES


if sys.platform == "win32":
    class _StdcallKeepingGIL(ctypes.CDLL):
        _func_flags_ = getattr(ctypes, "_FUNCFLAG_STDCALL") | ctypes._FUNCFLAG_PYTHONAPI

    _API_LOADER: Any = _StdcallKeepingGIL
else:
    _API_LOADER = ctypes.PyDLL


def _load(path: Optional[str]) -> Tuple[Any, Any]:
    """The library's stdcall and caller-cleans views."""
    tried = []
    override = os.environ.get("QUARNEL_LIBRARY")
    for candidate in [path] if path else candidates():
        try:
            api = _API_LOADER(candidate)
            return api, ctypes.PyDLL(candidate, handle=api._handle) if WINDOWS else api
        except OSError as e:
            tried.append(f"{candidate}: {e}")
            if candidate == override:
                break  # an explicit choice that fails is not replaced by another library
    raise ImportError("quarnel: cannot load the library (set QUARNEL_LIBRARY to its path); "
                      "tried " + "; ".join(tried))


_api, _cdecl = _load(None)
#: Whether the library was loaded in checked-handles mode, in which every
#: call with a handle can fail; otherwise the calls that allocate nothing
#: (lengths, searches, comparisons, destruction) never do.
CHECKED = os.environ.get("QUARNEL_CHECK_HANDLES") == "1"
#: The file the library was loaded from (or the name the system resolved).
path: str = _api._name


def _declare(name: str, kinds: Dict[str, Any]) -> Any:
    convention, result, arguments = EXPORTS[name]
    try:
        fn = (_cdecl if convention == "cdecl" else _api)[name]
    except AttributeError:
        raise ImportError(f"quarnel: {path} has no {name}; "
                          "the library is older than this package") from None
    fn.restype = _RESULTS[result]
    fn.argtypes = [kinds[k] for k in arguments if k != "..."]
    return fn


#: The classes' declarations: text as bytes, addresses as ints, no checks.
FAST: Dict[str, Any] = {name: _declare(name, _FAST_ARGUMENTS) for name in EXPORTS}

_set_mode = FAST["LStrSetFailureMode"]
_last_failure = FAST["LStrGetLastFailure"]


class _ThreadState(threading.local):
    recording = False


state = _ThreadState()


def enter() -> None:
    """Puts the calling thread in record mode; call when
    ``state.recording`` is false, before a call that can fail."""
    _set_mode(1)
    state.recording = True


def check() -> None:
    """Raises the failure of the thread's last call, if there was one."""
    code = _last_failure(None, 0)
    if code:
        raise failure(code)


def failure(code: int) -> QuarnelError:
    """The exception for the thread's recorded failure."""
    buffer = ctypes.create_string_buffer(512)
    _last_failure(buffer, len(buffer))
    return error_for(code, decode_message(buffer.value))


def closed(obj: object) -> QuarnelError:
    """The exception for using an object after close()."""
    return error_for(EXCEPTION_INVALID_HANDLE, f"operation on a closed {type(obj).__name__}")


# ---- Reading handles ----------------------------------------------------------
# A handle is the address of its record, whose first field is the payload
# pointer (null when empty); the 32 bits before the payload hold its length,
# in bytes for both families (an A length, a BSTR's byte count).

def decode16(data: bytes) -> str:
    """UTF-16-LE bytes as str, unpaired surrogates kept (the codec's own
    function: the codec lookup behind bytes.decode costs several times more)."""
    return codecs.utf_16_le_decode(data, "surrogatepass", True)[0]


def encode16(text: str) -> bytes:
    """str as UTF-16-LE bytes, unpaired surrogates kept."""
    return codecs.utf_16_le_encode(text, "surrogatepass")[0]


size_at = c_uint32.from_address
pointer_at = c_void_p.from_address
#: Array types of the sizes read so far (up to 256 bytes).
arrays: Dict[int, Any] = {}


def bytes_at(address: int, size: int) -> bytes:
    """size bytes copied from address. Short reads go through cached array
    types, several times cheaper than string_at's foreign call."""
    if size > 256:
        return string_at(address, size)
    array = arrays.get(size)
    if array is None:
        array = arrays[size] = ctypes.c_char * size
    raw: bytes = array.from_address(address).raw
    return raw


def payload_bytes(payload: Optional[int]) -> bytes:
    """The bytes of a payload (None: an empty handle)."""
    return bytes_at(payload, size_at(payload - 4).value) if payload else b""


def read_a(handle: int) -> bytes:
    """An A handle's bytes, zeros included."""
    return payload_bytes(pointer_at(handle).value)


def read_w(handle: int) -> bytes:
    """A W handle's text as UTF-16-LE bytes."""
    return payload_bytes(pointer_at(handle).value)


_from_a_w = FAST["LStrAllocFromASzStrW"]
_destroy_w = FAST["LStrDestroyW"]


def decode_message(message: bytes) -> str:
    """A failure message, which the library writes in its code page."""
    if message.isascii():
        return message.decode("ascii")
    if not state.recording:
        enter()
    wide = _from_a_w(message, len(message))
    if not wide:
        return message.decode("latin-1")
    try:
        return codecs.utf_16_le_decode(read_w(wide), "replace", True)[0]
    finally:
        _destroy_w(wide)


# ---- The raw layer --------------------------------------------------------------

def _guard(fn: Any, name: str, char_result: bool) -> Callable[..., Any]:
    def export(*args: Any) -> Any:
        if not state.recording:
            enter()
        result = fn(*args)
        # A failing call returns the zero of its result type.
        if (result == b"\0") if char_result else not result:
            code = _last_failure(None, 0)
            if code:
                raise failure(code)
        return result

    export.__name__ = export.__qualname__ = name
    export.__doc__ = (f"{name}: see include/quarnel/quarnel.h. Arguments: "
                      f"{', '.join(EXPORTS[name][2]) or 'none'}; result: {EXPORTS[name][1]}.")
    return export


def _set_failure_mode(mode: int) -> int:
    """LStrSetFailureMode: only 1 (record) is accepted; the thread is put in
    record mode and 1 returned."""
    if mode != 1:
        raise ValueError("mode: this package keeps every thread in record mode (1); "
                         "raise mode would end the process at the first failure")
    enter()
    return 1


class Library(Exports):
    """The raw layer: every export of the library as a function taking and
    returning C values (handles as ints). Each call first puts its thread in
    record mode and raises a failure as a QuarnelError, so no call made
    through it can end the process with the library's exception; the
    handles it is given are trusted as C trusts them. ``LStrSetFailureMode``
    only accepts 1 here."""

    def __init__(self) -> None:
        self.path = path
        for name in EXPORTS:
            fn = _declare(name, _RAW_ARGUMENTS)
            setattr(self, name, _guard(fn, name, EXPORTS[name][1] == "char_a"))
        self.LStrSetFailureMode = _set_failure_mode
        last_failure = _declare("LStrGetLastFailure", _RAW_ARGUMENTS)

        def get_last_failure(message: Any, capacity: int) -> int:
            """LStrGetLastFailure: the code of the thread's last failure (0:
            none), its message copied into a ctypes buffer when one is
            given. Reading the failure cannot fail, nor change it."""
            code: int = last_failure(message, capacity)
            return code

        self.LStrGetLastFailure = get_last_failure


lib = Library()
