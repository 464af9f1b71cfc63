"""The classes behave as the builtin each stands for, and own their handles."""
import copy
import os
import pickle
import random
import subprocess
import sys
from array import array

import pytest

import quarnel
from quarnel import AnsiStr, WideStr

LETTERS = {AnsiStr: "ab\u00e9 \0", WideStr: "ab\u00e9 \0\U0001F600"}


def model(family, text):
    """What the object stands for: bytes, or a str of UTF-16 units."""
    if family is AnsiStr:
        return bytes(AnsiStr(text))
    return "".join(map(chr, array("H", text.encode("utf-16-le"))))


def back(family, m):
    return m if family is AnsiStr else m.encode("utf-16-le", "surrogatepass").decode(
        "utf-16-le", "surrogatepass")


@pytest.mark.parametrize("family", [AnsiStr, WideStr])
def test_sequence_protocol_matches_the_builtin(family):
    rng = random.Random(5)
    for _ in range(200):
        text = "".join(rng.choice(LETTERS[family]) for _ in range(rng.randrange(7)))
        obj, m = family(text), model(family, text)
        other = "".join(rng.choice(LETTERS[family]) for _ in range(rng.randrange(3)))
        om = model(family, other)
        assert len(obj) == len(m) and bool(obj) == bool(m) and list(obj) == list(m)
        assert list(reversed(obj)) == list(reversed(m))
        for i in range(-len(m) - 1, len(m) + 1):
            if -len(m) <= i < len(m):
                assert obj[i] == m[i]
            else:
                with pytest.raises(IndexError):
                    obj[i]
        s = slice(rng.randrange(-8, 8), rng.choice([None, rng.randrange(-8, 8)]),
                  rng.choice([None, 1, 2, -1]))
        assert obj[s] == back(family, m[s]) and type(obj[s]) is family
        assert (obj + back(family, om)) == back(family, m + om)
        assert (back(family, om) + obj) == back(family, om + m)
        n = rng.randrange(-1, 4)
        assert obj * n == back(family, m * n) == n * obj
        assert (back(family, om) in obj) == (om in m)
        assert (obj == back(family, om)) == (m == om)
        assert (obj < family(other)) == (back(family, m) < back(family, om))
        assert hash(obj) == hash(back(family, m)) and obj == family(text)
    assert f"{WideStr('ab'):>4}|{AnsiStr('cd'):<3}|" == "  ab|cd |"
    assert AnsiStr(b"ab") != "ab" and WideStr("ab") != b"ab"  # as bytes and str


@pytest.mark.parametrize("family", [AnsiStr, WideStr])
def test_copies_and_pickles_own_their_handles(family):
    obj = family("caf\u00e9 \0 x")
    twins = [obj.copy(), copy.copy(obj), copy.deepcopy(obj), pickle.loads(pickle.dumps(obj)),
             family(obj)]
    assert len({t.handle for t in twins + [obj]}) == len(twins) + 1
    assert all(t == obj and type(t) is family for t in twins)
    obj.close()
    obj.close()
    assert all(str(t) == "caf\u00e9 \0 x" for t in twins)
    with pytest.raises(ValueError) as caught:
        len(obj)
    assert isinstance(caught.value, quarnel.InvalidHandleError) and repr(obj).startswith("<closed")


def test_no_handle_is_released_twice_under_checked_handles():
    # With checked handles a second release of one handle is refused and
    # reported; copies, pickles, closes and collection in a random order
    # must never cause one.
    script = """
import copy, gc, pickle, random, sys, quarnel
rng = random.Random(9)
live = [quarnel.AnsiStr("a,b"), quarnel.WideStr("c")]
for step in range(3000):
    obj = rng.choice(live)
    op = rng.randrange(6)
    if obj.closed and op != 4: obj.close(); continue
    if op == 0: live.append(copy.copy(obj))
    elif op == 1: live.append(copy.deepcopy(obj))
    elif op == 2: live.append(pickle.loads(pickle.dumps(obj)))
    elif op == 3: obj.close()
    elif op == 4 and len(live) > 2: live.remove(obj)
    elif op == 5: live.append(obj + obj[1:]); obj.split(",")
    if step % 500 == 0: gc.collect()
del live, obj
gc.collect()
print("ok")
"""
    env = dict(os.environ, QUARNEL_CHECK_HANDLES="1")
    result = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True,
                            env=env)
    assert result.returncode == 0 and result.stdout == "ok\n" and not result.stderr, \
        result.stderr
