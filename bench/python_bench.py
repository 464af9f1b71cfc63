#!/usr/bin/env python3
"""The Python package's cost over calling the library by hand with ctypes.

  bench/python_bench.py [ROUNDS]

Run from the repository root with the library on the loader's path (for a
build tree: LD_LIBRARY_PATH=build/src). Each row times the package's call
and the same work done with a plain ctypes.CDLL whose functions are declared
by hand, as a user without the package writes it; rounds are interleaved and
the medians of CPU time compared. The split rows also give the time of one split in
microseconds.
"""
import ctypes
import os
import statistics
import sys
import time
import timeit

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..",
                                "bindings", "python"))
import quarnel  # noqa: E402

raw = ctypes.CDLL(quarnel.lib.path)
V, I, P = ctypes.c_void_p, ctypes.c_int, ctypes.c_char_p


def declare(name, restype, *argtypes):
    fn = getattr(raw, name)
    fn.restype, fn.argtypes = restype, list(argtypes)
    return fn


for family in "AW":
    declare(f"LStrAllocFrom{family}SzStr{family}", V, P, I)
    declare(f"LStrLength{family}", I, V)
    declare(f"LStrCstr{family}", V, V)
    declare(f"LStrUpperCase{family}", V, V)
    declare(f"LStrDestroy{family}", None, V)
    declare(f"LStrToInt{family}", I, V)
declare("LStrPosPtrA", I, V, P)
declare("SplitBySepExA", I, ctypes.POINTER(quarnel.CLAnsiStr), ctypes.c_char,
        ctypes.POINTER(quarnel.CLAnsiStrList), ctypes.c_bool)
declare("SplitBySepExW", I, ctypes.POINTER(quarnel.CLWideStr), ctypes.c_uint16,
        ctypes.POINTER(quarnel.CLWideStrList), ctypes.c_bool)
declare("LStrListEndA", None, ctypes.POINTER(quarnel.CLAnsiStrList))
declare("LStrListEndW", None, ctypes.POINTER(quarnel.CLWideStrList))

LINE = "alpha,beta,12,delta,epsilon"
a, w = quarnel.AnsiStr(LINE), quarnel.WideStr(LINE)
n12 = quarnel.AnsiStr("12345")
ha = raw.LStrAllocFromASzStrA(LINE.encode(), len(LINE))
hw = raw.LStrAllocFromWSzStrW(LINE.encode("utf-16-le"), len(LINE))
h12 = raw.LStrAllocFromASzStrA(b"12345", 5)


def raw_upper():
    raw.LStrDestroyA(raw.LStrUpperCaseA(ha))


def raw_split(family, handle, sep, text_of):
    """A split as a careful hand-written ctypes host does it: a list kept
    for reuse, each field read through length and text pointer."""
    wrapper = (quarnel.CLAnsiStr if family == "A" else quarnel.CLWideStr)(handle, False)
    fields = (quarnel.CLAnsiStrList if family == "A" else quarnel.CLWideStrList)(16, 0, 0, None)
    split, length, cstr = (getattr(raw, f"SplitBySepEx{family}"),
                           getattr(raw, f"LStrLength{family}"), getattr(raw, f"LStrCstr{family}"))
    unit = 1 if family == "A" else 2

    def run():
        n = split(ctypes.byref(wrapper), sep, ctypes.byref(fields), False)
        out = []
        for i in range(n):
            h = fields.items[i].contents.handle
            out.append(text_of(ctypes.string_at(cstr(h), unit * length(h))))
        return out
    return run


ROWS = [
    ("len(AnsiStr)  / LStrLengthA", lambda: len(a), lambda: raw.LStrLengthA(ha)),
    ("len(WideStr)  / LStrLengthW", lambda: len(w), lambda: raw.LStrLengthW(hw)),
    ("to_int()      / LStrToIntA", lambda: n12.to_int(), lambda: raw.LStrToIntA(h12)),
    ("find()        / LStrPosPtrA", lambda: a.find(b"delta"),
     lambda: raw.LStrPosPtrA(ha, b"delta") - 1),
    ("upper()       / LStrUpperCaseA+Destroy", lambda: a.upper(), raw_upper),
    ("split A 5     / SplitBySepExA+reads", lambda: a.split(","),
     raw_split("A", ha, b",", bytes)),
    ("split W 5     / SplitBySepExW+reads", lambda: w.split(","),
     raw_split("W", hw, ord(","), lambda b: b.decode("utf-16-le"))),
]


# CPU time of this process: a shared machine's load stretches wall time.
CPU = time.process_time


def main():
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 9
    assert a.split(",") == ROWS[5][2]() and w.split(",") == ROWS[6][2]()
    number = 20000
    times = {name: ([], []) for name, _, _ in ROWS}
    for _ in range(rounds):
        for name, friendly, by_hand in ROWS:
            times[name][0].append(timeit.timeit(friendly, number=number, timer=CPU) / number)
            times[name][1].append(timeit.timeit(by_hand, number=number, timer=CPU) / number)
    print(f"python {sys.version.split()[0]}, {rounds} interleaved rounds, medians of CPU time")
    print(f"{'row':40s} {'package':>10s} {'by hand':>10s} {'ratio':>7s} {'raw calls':>9s}")
    call = statistics.median(times[ROWS[0][0]][1])
    for name, (mine, theirs) in times.items():
        m, t = statistics.median(mine), statistics.median(theirs)
        print(f"{name:40s} {m * 1e6:8.2f}us {t * 1e6:8.2f}us {m / t:6.2f}x {m / call:9.1f}")
    print("raw calls: the package's time in units of one hand-declared LStrLengthA call, "
          "which does not depend on the machine's load")


if __name__ == "__main__":
    main()
