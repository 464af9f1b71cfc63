// Case mapping, trimming and padding: new handles against in-place forms,
// bases, shared A payloads, zero characters and the W trim's cut at the
// first zero unit.
#include "edit_support.hpp"

using namespace qtest;
using namespace std::string_literals;

TEST(Case, MapsLettersOnlyAndKeepsTheLength) {
  struct Case {
    std::string text, lower, upper;
  } cases[] = {
    {"abc1", "abc1", "ABC1"},
    {"MiXeD 1 !?", "mixed 1 !?", "MIXED 1 !?"},
    {"a\0B"s, "a\0b"s, "A\0B"s},
#if defined(_WIN32)  // accents on POSIX follow the user's locale: tests/posix
    {"\xc9t\xe9", "\xe9t\xe9", "\xc9T\xc9"},
#endif
  };
  for (const Case& c : cases)
    for (bool up : {false, true}) {
      SCOPED_TRACE(c.text);
      const std::string& want = up ? c.upper : c.lower;
      Twins h = twins(c.text, 0);
      HA shared(LStrAllocCloneAA(h.a.get()));
      HA a((up ? LStrUpperCaseA : LStrLowerCaseA)(h.a.get()));
      HW w((up ? LStrUpperCaseW : LStrLowerCaseW)(h.w.get()));
      (up ? LStrSelfUpperCaseA : LStrSelfLowerCaseA)(h.a.get());
      (up ? LStrSelfUpperCaseW : LStrSelfLowerCaseW)(h.w.get());
      for (LStrHandleA x : {a.get(), h.a.get()}) EXPECT_EQ(text(x), want);
      for (LStrHandleW x : {w.get(), h.w.get()}) EXPECT_EQ(text(x), widen(want));
      // New handles have base 1; the changed ones keep base 0.
      EXPECT_EQ(LStrGetCharIndexBaseA(a.get()) + LStrGetCharIndexBaseA(h.a.get()), 1);
      EXPECT_EQ(LStrGetCharIndexBaseW(w.get()) + LStrGetCharIndexBaseW(h.w.get()), 1);
      EXPECT_EQ(text(shared.get()), c.text);
    }
}

TEST(Trim, StripsCodesUpTo32AtTheChosenEnds) {
  struct Case {
    std::string text, a[3], w[3];  // both ends, start, end
  } cases[] = {
      {"\t x y\n\0"s, {"x y", "x y\n\0"s, "\t x y"}, {"x y", "x y\n", "\t x y"}},
      {"   ", {"", "", ""}, {"", "", ""}},
      {" a\0b "s, {"a\0b"s, "a\0b "s, " a\0b"s}, {"a", "a", " a"}},
      {"\x1f\xa0!\x7f ",
       {"\xa0!\x7f", "\xa0!\x7f ", "\x1f\xa0!\x7f"},
       {"\xa0!\x7f", "\xa0!\x7f ", "\x1f\xa0!\x7f"}},
  };
  LStrHandleA(QUARNEL_API * new_a[])(LStrHandleA) = {LStrTrimA, LStrTrimLeftA, LStrTrimRightA};
  LStrHandleW(QUARNEL_API * new_w[])(LStrHandleW) = {LStrTrimW, LStrTrimLeftW, LStrTrimRightW};
  void(QUARNEL_API * self_a[])(LStrHandleA) = {LStrSelfTrimA, LStrSelfTrimLeftA,
                                               LStrSelfTrimRightA};
  void(QUARNEL_API * self_w[])(LStrHandleW) = {LStrSelfTrimW, LStrSelfTrimLeftW,
                                               LStrSelfTrimRightW};
  for (const Case& c : cases)
    for (int f = 0; f < 3; ++f) {
      SCOPED_TRACE(testing::Message() << c.text << " form " << f);
      Twins h = twins(c.text, 0);
      HA shared(LStrAllocCloneAA(h.a.get()));
      HA a(new_a[f](h.a.get()));
      HW w(new_w[f](h.w.get()));
      self_a[f](h.a.get());
      self_w[f](h.w.get());
      for (LStrHandleA x : {a.get(), h.a.get()}) EXPECT_EQ(text(x), c.a[f]);
      for (LStrHandleW x : {w.get(), h.w.get()}) EXPECT_EQ(text(x), widen(c.w[f]));
      EXPECT_EQ(LStrGetCharIndexBaseA(h.a.get()) + LStrGetCharIndexBaseW(h.w.get()), 0);
      EXPECT_EQ(text(shared.get()), c.text);
    }
  HW spaces = make_w(QW("\x3000x\x00A0"));  // Unicode spaces are not blank
  EXPECT_EQ(text(HW(LStrTrimW(spaces.get())).get()), QW("\x3000x\x00A0"));
}

TEST(Pad, FillsToTheWidthOrClones) {
  struct Case {
    std::string text;
    char fill;
    int width;
    std::string left, right;
  } cases[] = {{"42", '0', 5, "00042", "42000"},       {"ab", '.', 4, "..ab", "ab.."},
               {"abcdef", '*', 6, "abcdef", "abcdef"}, {"abcdef", '*', -1, "abcdef", "abcdef"},
               {"ab", '\0', 4, "\0\0ab"s, "ab\0\0"s},  {"", '*', 3, "***", "***"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " width " << c.width);
    Twins h = twins(c.text, 0);
    const auto fill = static_cast<LWideChar>(c.fill);
    HA l(LStrPadLeftA(h.a.get(), c.fill, c.width)), r(LStrPadRightA(h.a.get(), c.fill, c.width));
    HW lw(LStrPadLeftW(h.w.get(), fill, c.width)), rw(LStrPadRightW(h.w.get(), fill, c.width));
    EXPECT_EQ(text(l.get()), c.left);
    EXPECT_EQ(text(r.get()), c.right);
    EXPECT_EQ(text(lw.get()), widen(c.left));
    EXPECT_EQ(text(rw.get()), widen(c.right));
    EXPECT_EQ(LStrGetCharIndexBaseA(l.get()), 1);
    // Wide enough already: a clone, which shares the A payload.
    EXPECT_EQ(l->payload == h.a->payload, c.width <= static_cast<int>(c.text.size()));
  }
}
