"""A failing call raises a Python exception and the interpreter goes on."""
import os
import subprocess
import sys
import threading

import pytest

import quarnel
from quarnel import errors

FAMILIES = [quarnel.AnsiStr, quarnel.WideStr]
HUGE = 0x7FFFFFFF


@pytest.mark.parametrize("family", FAMILIES)
@pytest.mark.parametrize("call, builtin, cls, code", [
    (lambda h: h.to_int(), ValueError, quarnel.ConvertError, errors.EXCEPTION_CONVERT),
    (lambda h: h.char_at(99), IndexError, quarnel.RangeError, errors.EXCEPTION_RANGE),
    (lambda h: type(h).of_char("x", HUGE), MemoryError, quarnel.OutOfMemoryError,
     errors.EXCEPTION_OUT_OF_MEMORY),
])
def test_failure_is_raised_and_the_handle_survives(family, call, builtin, cls, code):
    with family("12x") as h:
        with pytest.raises(builtin) as caught:
            call(h)
        assert isinstance(caught.value, cls) and isinstance(caught.value, quarnel.QuarnelError)
        assert caught.value.code == code and caught.value.message
        # The call left normally: the handle keeps its text and works on.
        assert str(h) == "12x" and h.to_int(-1) == -1
        h.assign("42")
        assert h.to_int() == 42


def test_a_range_error_comes_from_the_library():
    with quarnel.AnsiStr("abc") as h:
        with pytest.raises(quarnel.RangeError) as caught:
            h.char_at(0)  # base 1: position 0 is before the text
        assert "range" in caught.value.message.lower()


def test_every_thread_gets_record_mode():
    outcome = []

    def worker():
        try:
            quarnel.AnsiStr("1x").to_int()
        except ValueError as e:
            outcome.append(type(e))

    t = threading.Thread(target=worker)
    t.start()
    t.join()
    assert outcome == [quarnel.ConvertError]


def test_a_missing_library_is_an_import_error_naming_it(tmp_path):
    missing = str(tmp_path / "libnothere.so")
    result = subprocess.run([sys.executable, "-c", "import quarnel"], capture_output=True,
                            text=True, env={"QUARNEL_LIBRARY": missing, "PATH": ""})
    assert result.returncode == 1 and "ImportError" in result.stderr and missing in result.stderr


def test_checked_handles_refuse_a_destroyed_handle():
    script = ("import quarnel\n"
              "h = quarnel.AnsiStr('x'); raw = h.handle; h.close()\n"
              "try: quarnel.call(quarnel.lib.LStrLengthA, raw)\n"
              "except quarnel.InvalidHandleError as e: print(hex(e.code), e.message)\n")
    env = dict(os.environ, QUARNEL_CHECK_HANDLES="1")
    result = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True,
                            env=env)
    assert result.stdout.startswith("0xe0510004 LStrLengthA"), result.stderr
