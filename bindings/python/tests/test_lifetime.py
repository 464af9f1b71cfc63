"""Handles and list storage are released exactly once, by their owner."""
import ctypes
import gc

import pytest

import quarnel
from quarnel import lib


@pytest.mark.parametrize("family", [quarnel.AnsiStr, quarnel.WideStr])
def test_closed_handles_refuse_use_and_close_twice(family):
    with family("abc") as h:
        pass
    with pytest.raises(ValueError):
        len(h)
    h.close()
    assert repr(h).startswith("<closed")


def test_collected_objects_destroy_their_handles(monkeypatch):
    destroyed = []
    real = lib.LStrDestroyA
    monkeypatch.setattr(lib, "LStrDestroyA", lambda h: (destroyed.append(h), real(h)))
    h = quarnel.AnsiStr("temp")
    raw = h.handle
    del h
    gc.collect()
    assert destroyed == [raw]


@pytest.mark.parametrize("end, split, cls, wrapper, sep", [
    (lib.LStrListEndA, lib.SplitBySepExA, quarnel.CLAnsiStrList, quarnel.CLAnsiStr, b","),
    (lib.LStrListEndW, lib.SplitBySepExW, quarnel.CLWideStrList, quarnel.CLWideStr, ord(",")),
])
def test_ending_a_list_frees_it_and_leaves_it_empty(end, split, cls, wrapper, sep):
    family = quarnel.AnsiStr if wrapper is quarnel.CLAnsiStr else quarnel.WideStr
    with family("a,b,c,d,e") as line:
        fields = cls(2, 0, 0, None)
        assert quarnel.call(split, ctypes.byref(wrapper(line.handle, False)), sep,
                            ctypes.byref(fields), False) == 5
        assert (fields.capacity, fields.count) == (6, 5)
        end(ctypes.byref(fields))
        assert (fields.capacity, fields.count, bool(fields.items)) == (0, 0, False)
        end(ctypes.byref(fields))  # an ended list may be ended again
