"""Text goes in and comes out unchanged, in both families and both kinds."""
import random

import pytest

import quarnel

SAMPLES = ["", "a", "port = 8080", "a\0b", "caf\u00e9", "\u20ac 5", "\U0001F600 pair", " \t"]
FAMILIES = [quarnel.AnsiStr, quarnel.WideStr]


@pytest.mark.parametrize("family", FAMILIES)
@pytest.mark.parametrize("text", SAMPLES)
def test_str_round_trip(family, text):
    if family is quarnel.AnsiStr and str(quarnel.WideStr(text)) != text:
        pytest.skip("not in the library's ANSI code page")
    with family(text) as h:
        assert str(h) == text
        assert h == text
        assert bytes(family(bytes(h))) == bytes(h)


def test_wide_lengths_count_utf16_units():
    # One unit per BMP character, two for a pair: c_wchar would give 1 on Linux.
    assert [len(quarnel.WideStr(t)) for t in ["\u00e9", "\U0001F600", "a\0b"]] == [1, 2, 3]


def test_ansi_bytes_are_kept_exactly():
    raw = bytes(range(1, 128)) + b"\0z"
    assert bytes(quarnel.AnsiStr(raw)) == raw


def model_split(text, sep):
    """Fields between separators; a trailing separator adds no empty field."""
    if not text:
        return []
    fields = text.split(sep)
    return fields[:-1] if text.endswith(sep) else fields


@pytest.mark.parametrize("family", FAMILIES)
def test_split_matches_model_on_random_lines(family):
    rng = random.Random(7)
    for _ in range(300):
        line = "".join(rng.choice("ab, ") for _ in range(rng.randrange(9)))
        with family(line) as h:
            assert h.split(",") == model_split(line, ","), line
            assert h.split(",", trim=True) == [f.strip(" ") for f in model_split(line, ",")]


@pytest.mark.parametrize("family", FAMILIES)
def test_layouts_and_name_value(family):
    with family("ABCDEFGHI") as h:
        assert h.split_widths([3, 2, -1]) == ["ABC", "DE", "FGHI"]
        assert h.split_columns([(1, 2), (8, 20)]) == ["AB", "HI"]
    assert quarnel.split_named("port = 8080") == ("port", "8080")
    assert quarnel.split_named("no separator") is None


@pytest.mark.parametrize("family", FAMILIES)
def test_positions_follow_the_index_base(family):
    with family("hello") as h:
        assert (h.find("lo"), h.char_at(1)) == (4, "h")
        h.index_base = 0
        assert (h.find("lo"), h.find("zz"), h.char_at(0)) == (3, -1, "h")
        assert str(h.substring(1, 3)) == "ell"


@pytest.mark.parametrize("family", FAMILIES)
def test_assign_and_append_take_text_and_handles_of_either_family(family):
    with family("a") as h:
        for value in ["b", b"c", quarnel.AnsiStr("d"), quarnel.WideStr("e"), h]:
            h += value
        assert str(h) == "abcdeabcde"
        h.assign(quarnel.WideStr("xyz") if family is quarnel.AnsiStr else quarnel.AnsiStr("xyz"))
        assert h == "xyz" and len(h) == 3
