"""Python host for the Quarnel string-handle library.

    import quarnel

    line = quarnel.WideStr("alpha, beta, 12x")
    print(line.split(",", trim=True))          # ['alpha', 'beta', '12x']
    try:
        quarnel.WideStr("12x").to_int()
    except ValueError as e:                    # a quarnel.ConvertError
        print(e.code, e.message)

``WideStr`` is used like ``str`` and ``AnsiStr`` like ``bytes`` (in the
library's code page, with text helpers); each holds one library handle,
released by ``close()``, a ``with`` block or the garbage collector.

Every thread that calls the library through this package, the raw layer
``lib`` included, is switched to the library's record mode before its first
call that can fail, so a failure comes back as a ``QuarnelError`` (also a
ValueError, IndexError, MemoryError or RuntimeError) and never ends the
process.
"""
from ._library import (CLAnsiStr, CLAnsiStrList, CLWideStr, CLWideStrList, Library, candidates,
                       lib)
from ._strings import BLANKS, AnsiStr, FloatFormat, Text, WideStr
from ._text import code_page
from .errors import (ConvertError, InternalError, InvalidHandleError, OutOfMemoryError,
                     QuarnelError, RangeError)

__version__ = "0.1.0"
__all__ = [
    "AnsiStr", "WideStr", "Text", "FloatFormat", "BLANKS", "code_page", "lib", "Library",
    "candidates", "CLAnsiStr", "CLWideStr", "CLAnsiStrList", "CLWideStrList", "QuarnelError",
    "RangeError", "ConvertError", "OutOfMemoryError", "InvalidHandleError", "InternalError",
]
