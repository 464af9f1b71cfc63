"""Failures come back as exceptions of the package and of the builtin that
fits, on any thread; wrong arguments are refused, never truncated."""
import ctypes
import pickle
import threading
import _thread

import pytest

import quarnel
from quarnel import AnsiStr, WideStr, errors, lib

HUGE = 0x7FFFFFFF


@pytest.mark.parametrize("family", [AnsiStr, WideStr])
@pytest.mark.parametrize("call, builtin, cls, code", [
    (lambda h: h.to_int(), ValueError, quarnel.ConvertError, errors.EXCEPTION_CONVERT),
    (lambda h: h.to_float(), ValueError, quarnel.ConvertError, errors.EXCEPTION_CONVERT),
    (lambda h: h[99], IndexError, quarnel.RangeError, errors.EXCEPTION_RANGE),
    (lambda h: type(h).of_char("x", HUGE), MemoryError, quarnel.OutOfMemoryError,
     errors.EXCEPTION_OUT_OF_MEMORY),
    (lambda h: h.ljust(HUGE + 5), MemoryError, quarnel.OutOfMemoryError,
     errors.EXCEPTION_OUT_OF_MEMORY),
])
def test_failures_are_builtin_exceptions_that_pickle(family, call, builtin, cls, code):
    h = family("12x")
    with pytest.raises(builtin) as caught:
        call(h)
    e = caught.value
    assert isinstance(e, cls) and isinstance(e, quarnel.QuarnelError)
    assert e.code == code and e.message and str(e) == e.message
    again = pickle.loads(pickle.dumps(e))
    assert type(again) is cls and (again.code, again.message) == (e.code, e.message)
    assert str(h) == "12x" and h.to_int(-1) == -1


def test_messages_are_decoded_from_the_code_page():
    with pytest.raises(ValueError) as caught:
        WideStr("caf\u00e9").to_int()
    assert "caf\u00e9" in caught.value.message


@pytest.mark.parametrize("start", [
    lambda fn: threading.Thread(target=fn).start(),
    lambda fn: _thread.start_new_thread(fn, ()),
])
def test_raw_calls_on_a_fresh_thread_raise_instead_of_ending_the_process(start):
    h = AnsiStr("12x")
    outcome = []
    done = threading.Event()

    def worker():
        try:
            lib.LStrToIntA(h.handle)
        except ValueError as e:
            outcome.append(type(e))
        try:
            lib.LStrGetCharAtA(h.handle, 9)
        except IndexError as e:
            outcome.append(type(e))
        done.set()

    start(worker)
    assert done.wait(10)
    assert outcome == [quarnel.ConvertError, quarnel.RangeError]
    with pytest.raises(ValueError):
        lib.LStrSetFailureMode(0)


@pytest.mark.parametrize("call, arg", [
    (lambda: AnsiStr("a,b").split(",,"), "separator"),
    (lambda: WideStr("a,b").split("\U0001F600"), "separator"),
    (lambda: WideStr("a").split(""), "separator"),
    (lambda: AnsiStr.of_char("ab"), "char"),
    (lambda: WideStr("a").rjust(3, "\U0001F600"), "fillchar"),
    (lambda: WideStr("a\0b").replace("\0", "x"), "old"),
    (lambda: AnsiStr("a").replace("a", b"x\0"), "new"),
])
def test_what_would_be_cut_short_is_refused_naming_the_argument(call, arg):
    with pytest.raises(ValueError, match=arg):
        call()


@pytest.mark.parametrize("family", [AnsiStr, WideStr])
@pytest.mark.parametrize("bad", [None, 5, 1.5, ["a"], object()])
def test_every_text_parameter_refuses_non_text(family, bad):
    h = family("abc")
    for call in [family, h.find, lambda v: h + v, lambda v: h.replace(v, "x"),
                 lambda v: h.split(v), h.compare]:
        with pytest.raises(TypeError):
            call(bad)


def test_text_of_every_kind_converts_exactly():
    text = "caf\u00e9 \0 \u20ac"
    for family in (AnsiStr, WideStr):
        for given in [text, WideStr(text), AnsiStr(text), bytes(AnsiStr(text))]:
            assert str(family(given)) == text and str(WideStr("x") + given) == "x" + text
    with pytest.raises(UnicodeEncodeError):
        AnsiStr("\ud800")
    assert WideStr("a").replace(b"a", AnsiStr("\u00e9")) == "\u00e9"


def test_library_lookup_order(monkeypatch, tmp_path):
    from quarnel import _library
    bundled = tmp_path / _library.LIBRARY_NAMES[0]
    bundled.write_bytes(b"")
    monkeypatch.setattr(_library, "BUNDLED_DIR", str(tmp_path))
    monkeypatch.setenv("QUARNEL_LIBRARY", "/x/libquarnel.so")
    assert quarnel.candidates() == [str(bundled), "/x/libquarnel.so"] + _library.LIBRARY_NAMES


def test_the_raw_layer_is_declared_and_typed():
    h = lib.LStrAllocFromASzStrA(b"hello", -1)
    try:
        assert ctypes.string_at(lib.LStrCstrA(h)) == b"hello" and lib.LStrLengthA(h) == 5
    finally:
        lib.LStrDestroyA(h)
