"""Both classes against Python's own str/bytes functions on random text in
the library's code page (run under QUARNEL_ACP=1252 and 65001). Where the
library's rule differs from Python's, the model says so and the docstrings
of the method name the difference."""
import random
from array import array

import pytest

import quarnel
from quarnel import AnsiStr, WideStr

PAGE = quarnel.code_page()
CODEC = {1252: "cp1252", 65001: "utf-8"}.get(PAGE)
pytestmark = pytest.mark.skipif(CODEC is None, reason=f"code page {PAGE} has no model here")
# ASCII, separators, blanks, accented and other non-ASCII letters, a
# character outside the BMP (W only: no single-byte page holds it).
ALPHABET = "ab,;:- \t\x01\u00e9\u00c0\u00ff\u00b5\u00df\u20ac\u0151\u03a9\U0001F600"


def texts(family, count=150, longest=10, seed=1):
    rng = random.Random(seed)
    letters = [c for c in ALPHABET if family is WideStr or _fits(c)]
    return ["".join(rng.choice(letters) for _ in range(rng.randrange(longest)))
            for _ in range(count)]


def _fits(c):
    try:
        c.encode(CODEC)
        return True
    except UnicodeEncodeError:
        return False


def units(family, text):
    """text as the family counts it: bytes, or a str of UTF-16 units."""
    if family is AnsiStr:
        return text.encode(CODEC)
    return "".join(map(chr, array("H", text.encode("utf-16-le", "surrogatepass"))))


def value(family, u):
    return u if family is AnsiStr else u.encode("utf-16-le", "surrogatepass").decode(
        "utf-16-le", "surrogatepass")


def model_split(text, sep):
    """A separator that ends the text adds no field; empty text has none."""
    fields = text.split(sep) if text else []
    return fields[:-1] if text.endswith(sep) else fields


def model_case(family, text, upper):
    """Unit for unit: a character whose other case needs more or other
    units (or is not in the code page) keeps its case."""
    out = []
    for c in text:
        m = c.upper() if upper else c.lower()
        same = len(m) == 1 and len(c.encode("utf-16-le")) == len(m.encode("utf-16-le"))
        if family is AnsiStr and CODEC == "cp1252":
            same = same and _fits(m)
        out.append(m if same else c)
    return "".join(out)


def model_replace(text, old, new):
    """Passes, each replacing the first occurrence left; one pass of
    str.replace when new contains old."""
    if not old or old in new:
        return text.replace(old, new) if old else text
    while old in text:
        text = text.replace(old, new, 1)
    return text


@pytest.mark.parametrize("family", [AnsiStr, WideStr])
def test_text_functions_match_python(family):
    rng = random.Random(2)
    for text in texts(family):
        obj, u = family(text), units(family, text)
        piece = units(family, rng.choice(texts(family, 5, 3, rng.random())))
        sep = rng.choice(",;:")
        assert str(obj) == text and len(obj) == len(u) and obj == value(family, u)
        assert obj.split(sep) == model_split(value(family, u), value(family, units(family, sep)))
        assert obj.split(sep, trim=True) == [
            f.strip(quarnel.BLANKS.encode() if family is AnsiStr else quarnel.BLANKS)
            for f in model_split(value(family, u), value(family, units(family, sep)))]
        assert obj.find(value(family, piece)) == u.find(piece), (text, piece)
        start, end = rng.randrange(-4, 12), rng.randrange(-4, 12)
        assert obj.find(value(family, piece), start, end) == u.find(piece, start, end)
        assert (value(family, piece) in obj) == (piece in u)
        if piece:
            assert obj.rfind_any(value(family, piece)) == max(u.rfind(c) for c in piece)
        assert str(obj.upper()) == model_case(family, text, True)
        assert str(obj.lower()) == model_case(family, text, False)
        blanks = quarnel.BLANKS.encode() if family is AnsiStr else quarnel.BLANKS
        trimmed = [value(family, u).strip(blanks), value(family, u).lstrip(blanks),
                   value(family, u).rstrip(blanks)]
        assert [obj.strip(), obj.lstrip(), obj.rstrip()] == trimmed
        old, new = rng.choice(["a", "ab", "\u00e9", ",", ""]), rng.choice(["", "b", "ba", "-"])
        if family is WideStr or (_fits(old) and _fits(new)):
            assert str(obj.replace(old, new)) == model_replace(text, old, new)


@pytest.mark.parametrize("family", [AnsiStr, WideStr])
def test_numbers_match_python(family):
    rng = random.Random(3)
    for _ in range(300):
        n = rng.choice([rng.randrange(-2**31, 2**31), rng.randrange(-2**40, 2**40),
                        rng.randrange(-2**63, 2**64)])
        fits = -2**31 <= n < 2**31
        text = rng.choice([str(n), f" {n}", f"{n} ", f"{n}x"])
        whole = fits and text in (str(n), f" {n}")
        assert family(text).to_int(None) == (n if whole else None), text
        assert family.from_int(n) == value(family, units(family, str(n)))
        x = rng.choice([rng.uniform(-1e6, 1e6), rng.random(), float(rng.randrange(99))])
        assert family(repr(x)).to_float() == x
        if fits:
            assert str(family.int_to_hex(n, 4)) == format(n & 0xFFFFFFFF, "X").zfill(4)
    for text in ["0x1FFFFFFFF", "99999999999", "-2147483649", "$100000000"]:
        assert family(text).to_int(7) == 7
        with pytest.raises(ValueError):
            family(text).to_int()
