"""Failures the library reports, as Python exceptions.

Each class is also the built-in exception a Python programmer catches for
that failure, so ``except IndexError`` catches an out-of-range position
whether the position was checked here or inside the library. Every failure
carries the library's failure ``code`` and ``message`` and pickles, so it
crosses ``multiprocessing`` and ``concurrent.futures`` process pools intact.
"""
from typing import Any, Dict, Tuple, Type

EXCEPTION_RANGE = 0xE0510001
EXCEPTION_CONVERT = 0xE0510002
EXCEPTION_OUT_OF_MEMORY = 0xE0510003
EXCEPTION_INVALID_HANDLE = 0xE0510004
EXCEPTION_INTERNAL = 0xE05100FF


class QuarnelError(Exception):
    """Any failure of a library call: ``code`` is its QUARNEL_EXCEPTION_*
    value, ``message`` the library's text."""

    def __init__(self, code: int, message: str) -> None:
        super().__init__(message)
        self.code = code
        self.message = message

    def __reduce__(self) -> Tuple[Any, Tuple[int, str]]:
        return type(self), (self.code, self.message)

    def __str__(self) -> str:
        return self.message


class RangeError(QuarnelError, IndexError):
    """A character position outside the text."""


class ConvertError(QuarnelError, ValueError):
    """Text that is not the number asked for, or a number out of range."""


class OutOfMemoryError(QuarnelError, MemoryError):
    """The library could not get the memory a call needed, or the result
    would be longer than a handle can hold."""


class InvalidHandleError(QuarnelError, ValueError):
    """A closed object, or a handle the library does not recognise."""


class InternalError(QuarnelError, RuntimeError):
    """A failure of the library that none of the other classes describes."""


_BY_CODE: Dict[int, Type[QuarnelError]] = {
    EXCEPTION_RANGE: RangeError,
    EXCEPTION_CONVERT: ConvertError,
    EXCEPTION_OUT_OF_MEMORY: OutOfMemoryError,
    EXCEPTION_INVALID_HANDLE: InvalidHandleError,
}


def error_for(code: int, message: str) -> QuarnelError:
    """The exception for a failure code and its message."""
    return _BY_CODE.get(code, InternalError)(code, message or f"failure 0x{code:08X}")
