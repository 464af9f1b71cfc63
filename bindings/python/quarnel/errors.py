"""Failures the library reports, as Python exceptions.

Each class is also the built-in exception a Python programmer would expect
for that failure, so ``except IndexError`` catches an out-of-range position
whether the position was checked here or inside the library.
"""
from typing import Dict, Type

EXCEPTION_RANGE = 0xE0510001
EXCEPTION_CONVERT = 0xE0510002
EXCEPTION_OUT_OF_MEMORY = 0xE0510003
EXCEPTION_INVALID_HANDLE = 0xE0510004


class QuarnelError(Exception):
    """Any failure of a library call: ``code`` is its QUARNEL_EXCEPTION_*
    value, ``message`` the library's text."""

    def __init__(self, code: int, message: str) -> None:
        super().__init__(message)
        self.code = code
        self.message = message


class RangeError(QuarnelError, IndexError):
    """A character position outside the text."""


class ConvertError(QuarnelError, ValueError):
    """Text that is not the number asked for."""


class OutOfMemoryError(QuarnelError, MemoryError):
    """The library could not get the memory a call needed."""


class InvalidHandleError(QuarnelError, ValueError):
    """A handle the library does not recognise."""


_BY_CODE: Dict[int, Type[QuarnelError]] = {
    EXCEPTION_RANGE: RangeError,
    EXCEPTION_CONVERT: ConvertError,
    EXCEPTION_OUT_OF_MEMORY: OutOfMemoryError,
    EXCEPTION_INVALID_HANDLE: InvalidHandleError,
}


def error_for(code: int, message: str) -> QuarnelError:
    return _BY_CODE.get(code, QuarnelError)(code, message or f"failure 0x{code:08X}")
