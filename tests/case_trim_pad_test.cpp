// Case mapping, trimming and padding: new handles against in-place forms,
// index bases, shared A payloads, zero characters and the W trim's cut at
// the first zero unit.
#include <string>

#include "support.hpp"

using namespace qtest;
using namespace std::string_literals;

namespace {

wstr widen(std::string_view s) {
  wstr w;
  for (char c : s) w += static_cast<LWideChar>(static_cast<unsigned char>(c));
  return w;
}

}  // namespace

TEST(Case, MapsLettersOnlyAndKeepsTheLength) {
  struct Case {
    std::string text, lower, upper;
  } cases[] = {
    {"abc1", "abc1", "ABC1"},
    {"MiXeD 123 !?", "mixed 123 !?", "MIXED 123 !?"},
    {"a\0B"s, "a\0b"s, "A\0B"s},
    {"", "", ""},
#if defined(_WIN32)  // POSIX maps accents under the user's locale: tests/posix
    {"\xc9t\xe9", "\xe9t\xe9", "\xc9T\xc9"},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    for (int base : {0, 1}) {
      HA h = make_a(c.text);
      HW w = make_w(widen(c.text));
      HA shared(LStrAllocCloneAA(h.get()));
      LStrSetCharIndexBaseA(h.get(), base);
      LStrSetCharIndexBaseW(w.get(), base);
      HA lower(LStrLowerCaseA(h.get())), upper(LStrUpperCaseA(h.get()));
      HW lower_w(LStrLowerCaseW(w.get())), upper_w(LStrUpperCaseW(w.get()));
      EXPECT_EQ(text(lower.get()), c.lower);
      EXPECT_EQ(text(upper.get()), c.upper);
      EXPECT_EQ(text(lower_w.get()), widen(c.lower));
      EXPECT_EQ(text(upper_w.get()), widen(c.upper));
      EXPECT_EQ(LStrGetCharIndexBaseA(upper.get()), 1);
      EXPECT_EQ(LStrGetCharIndexBaseW(upper_w.get()), 1);
      EXPECT_EQ(text(h.get()), c.text);

      LStrSelfUpperCaseA(h.get());
      LStrSelfUpperCaseW(w.get());
      EXPECT_EQ(text(h.get()), c.upper);
      EXPECT_EQ(text(w.get()), widen(c.upper));
      LStrSelfLowerCaseA(h.get());
      LStrSelfLowerCaseW(w.get());
      EXPECT_EQ(text(h.get()), c.lower);
      EXPECT_EQ(text(w.get()), widen(c.lower));
      EXPECT_EQ(LStrGetCharIndexBaseA(h.get()), base);
      EXPECT_EQ(LStrGetCharIndexBaseW(w.get()), base);
      EXPECT_EQ(text(shared.get()), c.text);
    }
  }
  // Surrogates have no case of their own; the pair stays as it is.
  HW pair = make_w(QW("x\xD801\xDC00"));
  HW up(LStrUpperCaseW(pair.get()));
  EXPECT_EQ(text(up.get()), QW("X\xD801\xDC00"));
}

TEST(Trim, StripsCodesUpTo32AtTheChosenEnds) {
  struct Case {
    std::string text, both, left, right;  // A results
    std::string both_w, left_w, right_w;  // W results: cut at the first zero
  } cases[] = {
      {"\t x y\n\0"s, "x y", "x y\n\0"s, "\t x y", "x y", "x y\n", "\t x y"},
      {"   ", "", "", "", "", "", ""},
      {"", "", "", "", "", "", ""},
      {"a\0b"s, "a\0b"s, "a\0b"s, "a\0b"s, "a", "a", "a"},
      {" a\0b "s, "a\0b"s, "a\0b "s, " a\0b"s, "a", "a", " a"},
      {"\xa0x\x80", "\xa0x\x80", "\xa0x\x80", "\xa0x\x80", "\xa0x\x80", "\xa0x\x80", "\xa0x\x80"},
      {"\x1f!\x7f ", "!\x7f", "!\x7f ", "\x1f!\x7f", "!\x7f", "!\x7f ", "\x1f!\x7f"},
  };
  using TrimA = LStrHandleA(QUARNEL_API*)(LStrHandleA);
  using TrimW = LStrHandleW(QUARNEL_API*)(LStrHandleW);
  using SelfA = void(QUARNEL_API*)(LStrHandleA);
  using SelfW = void(QUARNEL_API*)(LStrHandleW);
  struct Form {
    TrimA a;
    TrimW w;
    SelfA self_a;
    SelfW self_w;
  } forms[] = {{LStrTrimA, LStrTrimW, LStrSelfTrimA, LStrSelfTrimW},
               {LStrTrimLeftA, LStrTrimLeftW, LStrSelfTrimLeftA, LStrSelfTrimLeftW},
               {LStrTrimRightA, LStrTrimRightW, LStrSelfTrimRightA, LStrSelfTrimRightW}};
  for (const Case& c : cases) {
    const std::string* want[] = {&c.both, &c.left, &c.right};
    const std::string* want_w[] = {&c.both_w, &c.left_w, &c.right_w};
    for (int f = 0; f < 3; ++f) {
      SCOPED_TRACE(testing::Message() << '"' << c.text << "\" form " << f);
      HA h = make_a(c.text);
      HW w = make_w(widen(c.text));
      HA shared(LStrAllocCloneAA(h.get()));
      LStrSetCharIndexBaseA(h.get(), 0);
      LStrSetCharIndexBaseW(w.get(), 0);
      HA a(forms[f].a(h.get()));
      HW b(forms[f].w(w.get()));
      EXPECT_EQ(text(a.get()), *want[f]);
      EXPECT_EQ(text(b.get()), widen(*want_w[f]));
      EXPECT_EQ(LStrGetCharIndexBaseA(a.get()), 1);
      forms[f].self_a(h.get());
      forms[f].self_w(w.get());
      EXPECT_EQ(text(h.get()), *want[f]);
      EXPECT_EQ(text(w.get()), widen(*want_w[f]));
      EXPECT_EQ(LStrGetCharIndexBaseA(h.get()), 0);
      EXPECT_EQ(LStrGetCharIndexBaseW(w.get()), 0);
      EXPECT_EQ(text(shared.get()), c.text);
    }
  }
  // Unicode spaces are not blank.
  HW w = make_w(QW("\x3000x\x00A0"));
  HW t(LStrTrimW(w.get()));
  EXPECT_EQ(text(t.get()), QW("\x3000x\x00A0"));
}

TEST(Pad, FillsToTheWidthOrClones) {
  struct Case {
    std::string text;
    char fill;
    int width;
    std::string left, right;
  } cases[] = {
      {"42", '0', 5, "00042", "42000"},
      {"ab", '.', 4, "..ab", "ab.."},
      {"abcdef", '*', 3, "abcdef", "abcdef"},
      {"abcdef", '*', 6, "abcdef", "abcdef"},
      {"abcdef", '*', 0, "abcdef", "abcdef"},
      {"abcdef", '*', -1, "abcdef", "abcdef"},
      {"ab", '\0', 4, "\0\0ab"s, "ab\0\0"s},
      {"", '*', 3, "***", "***"},
      {"", '*', 0, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.text << "\" width " << c.width);
    HA h = make_a(c.text);
    HW w = make_w(widen(c.text));
    LStrSetCharIndexBaseA(h.get(), 0);
    HA l(LStrPadLeftA(h.get(), c.fill, c.width)), r(LStrPadRightA(h.get(), c.fill, c.width));
    HW lw(LStrPadLeftW(w.get(), static_cast<LWideChar>(c.fill), c.width));
    HW rw(LStrPadRightW(w.get(), static_cast<LWideChar>(c.fill), c.width));
    EXPECT_EQ(text(l.get()), c.left);
    EXPECT_EQ(text(r.get()), c.right);
    EXPECT_EQ(text(lw.get()), widen(c.left));
    EXPECT_EQ(text(rw.get()), widen(c.right));
    EXPECT_EQ(LStrGetCharIndexBaseA(l.get()), 1);
    // Already wide enough: a clone, which shares the A payload.
    if (c.width <= static_cast<int>(c.text.size())) {
      EXPECT_EQ(l->payload, h->payload);
    }
  }
  HW w = make_w(QW("x"));
  HW star(LStrPadLeftW(w.get(), 0x263A, 3));
  EXPECT_EQ(text(star.get()), QW("\x263A\x263Ax"));
}
