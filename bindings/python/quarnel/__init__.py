"""Python host for the Quarnel string-handle library.

    import quarnel

    with quarnel.AnsiStr("a, b, c") as line:
        print(line.split(",", trim=True))      # ['a', 'b', 'c']
    try:
        quarnel.AnsiStr("12x").to_int()
    except ValueError as e:                    # a quarnel.ConvertError
        print(e.code, e.message)

Every thread that calls through this package is put in the library's record
mode, so a failure comes back as a ``QuarnelError`` (also a ValueError,
IndexError or MemoryError) instead of ending the process. ``lib`` gives the
raw, fully declared exports for anything the classes do not cover; wrap such
calls in ``call(lib.Name, ...)`` to keep that guarantee.
"""
from ._library import (CLAnsiStr, CLAnsiStrList, CLWideStr, CLWideStrList, Library, call,
                       candidates, lib)
from ._strings import AnsiStr, Text, WideStr, split_named
from .errors import (ConvertError, InvalidHandleError, OutOfMemoryError, QuarnelError,
                     RangeError)

__all__ = [
    "AnsiStr", "WideStr", "Text", "split_named", "lib", "call", "Library", "candidates",
    "CLAnsiStr", "CLWideStr", "CLAnsiStrList", "CLWideStrList", "QuarnelError",
    "RangeError", "ConvertError", "OutOfMemoryError", "InvalidHandleError",
]
