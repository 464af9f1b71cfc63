"""Finds the library, declares every export and turns failures into exceptions.

The declarations come from one generated table (``_exports.EXPORTS``), so a
pointer result can never be left as ctypes' default ``int``. UTF-16 text is
passed as arrays of ``c_uint16``: ``c_wchar`` is 32 bits wide on Linux.
"""
import ctypes
import os
import sys
import threading
from ctypes import (POINTER, c_bool, c_char, c_char_p, c_double, c_int, c_int32, c_int64,
                    c_uint, c_uint16, c_uint64, c_void_p)
from typing import Any, Callable, List, Optional

from ._exports import EXPORTS
from .errors import error_for

WINDOWS = sys.platform == "win32"
WideChars = POINTER(c_uint16)


class CLAnsiStr(ctypes.Structure):
    """A wrapper of one A handle; the library ends it only when owned."""
    _fields_ = [("handle", c_void_p), ("owned", c_bool)]


class CLWideStr(ctypes.Structure):
    _fields_ = [("handle", c_void_p), ("owned", c_bool)]


class CLAnsiStrList(ctypes.Structure):
    """The growable list the splitting functions fill; end it with LStrListEndA."""
    _fields_ = [("growBy", c_int32), ("capacity", c_int32), ("count", c_int32),
                ("items", POINTER(POINTER(CLAnsiStr)))]


class CLWideStrList(ctypes.Structure):
    _fields_ = [("growBy", c_int32), ("capacity", c_int32), ("count", c_int32),
                ("items", POINTER(POINTER(CLWideStr)))]


_SCALARS = {
    "int": c_int, "uint": c_uint, "bool": c_bool, "char_a": c_char, "char_w": c_uint16,
    "double": c_double, "int64": c_int64, "uint64": c_uint64,
}
# Handles and every pointer a function returns stay raw addresses: the
# classes read text with an explicit length, since text may hold zeros.
_ARGUMENTS = dict(_SCALARS, **{
    "handle_a": c_void_p, "handle_w": c_void_p, "text_a": c_char_p, "chars_a": c_char_p,
    "text_w": WideChars, "chars_w": WideChars, "bstr_ref": c_void_p, "pointer": c_void_p,
    "wrapper_a": POINTER(CLAnsiStr), "wrappers_a": POINTER(CLAnsiStr),
    "wrapper_w": POINTER(CLWideStr), "wrappers_w": POINTER(CLWideStr),
    "list_a": POINTER(CLAnsiStrList), "list_w": POINTER(CLWideStrList),
    "ints": POINTER(c_int), "double_ref": POINTER(c_double),
})
_RESULTS = dict(_SCALARS, void=None, **{
    kind: c_void_p for kind in ("handle_a", "handle_w", "text_a", "chars_a", "text_w",
                                "chars_w", "bstr_ref", "pointer")
})


def candidates() -> List[str]:
    """Where the library is looked for, in order: QUARNEL_LIBRARY alone when
    set, else a copy bundled beside this package, else the system loader."""
    override = os.environ.get("QUARNEL_LIBRARY")
    if override:
        return [override]
    names = ["Quarnel.dll"] if WINDOWS else ["libquarnel.so.0", "libquarnel.so"]
    here = os.path.dirname(os.path.abspath(__file__))
    bundled = [os.path.join(here, n) for n in names if os.path.exists(os.path.join(here, n))]
    return bundled + names


class Library:
    """The loaded library with every export declared as an attribute."""

    def __init__(self, path: Optional[str] = None) -> None:
        tried = []
        for candidate in [path] if path else candidates():
            try:
                dll = ctypes.WinDLL(candidate) if WINDOWS else ctypes.CDLL(candidate)
                break
            except OSError as e:
                tried.append(f"{candidate}: {e}")
        else:
            raise ImportError("quarnel: cannot load the library (set QUARNEL_LIBRARY to its "
                              "path); tried " + "; ".join(tried))
        self.path: str = dll._name
        # The '_' exports are caller-cleans; on Windows they need a CDLL view
        # of the same module.
        cdecl = ctypes.CDLL(dll._name, handle=dll._handle) if WINDOWS else dll
        for name, (convention, result, arguments) in EXPORTS.items():
            try:
                fn = getattr(cdecl if convention == "cdecl" else dll, name)
            except AttributeError:
                raise ImportError(f"quarnel: {self.path} has no {name}; "
                                  "the library is older than this package") from None
            fn.restype = _RESULTS[result]
            fn.argtypes = [_ARGUMENTS[k] for k in arguments if k != "..."]
            setattr(self, name, fn)

    def __getattr__(self, name: str) -> Any:  # for type checkers: exports are dynamic
        raise AttributeError(name)


lib = Library()

_MESSAGE_CAPACITY = 512
_thread = threading.local()


def call(fn: Callable[..., Any], *args: Any) -> Any:
    """Calls one export and raises its failure, if any, as a QuarnelError.

    Each thread is switched to record mode before its first call, so the
    library never throws through a Python frame; the message buffer is the
    thread's own."""
    message = getattr(_thread, "message", None)
    if message is None:
        lib.LStrSetFailureMode(1)
        message = _thread.message = ctypes.create_string_buffer(_MESSAGE_CAPACITY)
    result = fn(*args)
    code = lib.LStrGetLastFailure(message, _MESSAGE_CAPACITY)
    if code:
        raise error_for(code, message.value.decode("utf-8", "replace"))
    return result
