// Case mapping, trimming and padding on random texts against string models:
// new handles (base 1) and the in-place forms (base kept), on handles whose
// A payload a clone shares; zero characters, and the W trim's cut at the
// first zero unit.
#include <algorithm>

#include "edit_support.hpp"

using namespace qtest;
using namespace std::string_literals;

TEST(CaseTrimPad, AgreeWithStringModels) {
  LStrHandleA(QUARNEL_API * new_a[])(LStrHandleA) = {LStrLowerCaseA, LStrUpperCaseA, LStrTrimA,
                                                     LStrTrimLeftA, LStrTrimRightA};
  LStrHandleW(QUARNEL_API * new_w[])(LStrHandleW) = {LStrLowerCaseW, LStrUpperCaseW, LStrTrimW,
                                                     LStrTrimLeftW, LStrTrimRightW};
  void(QUARNEL_API * self_a[])(LStrHandleA) = {
      LStrSelfLowerCaseA, LStrSelfUpperCaseA, LStrSelfTrimA, LStrSelfTrimLeftA, LStrSelfTrimRightA};
  void(QUARNEL_API * self_w[])(LStrHandleW) = {
      LStrSelfLowerCaseW, LStrSelfUpperCaseW, LStrSelfTrimW, LStrSelfTrimLeftW, LStrSelfTrimRightW};
  std::mt19937 rng(23);
  for (int round = 0; round < 3000; ++round) {
    // Letters, blanks, codes just either side of 32 and a non-breaking space.
    const std::string t = random_text(rng, "aZ \t\0\x1f!\x7f\xa0"s, 7);
    const int f = round % 5;  // lower, upper, trim both ends, the start, the end
    std::string want_a = t;
    for (char& c : want_a) c = f == 0 && c == 'Z' ? 'z' : f == 1 && c == 'a' ? 'A' : c;
    want_a = f < 2 ? want_a : trim_model(want_a, f != 4, f != 3);
    // Zero is blank too; the W trim keeps what it leaves up to a zero unit.
    const std::string want_w = want_a.substr(0, f < 2 ? t.npos : want_a.find('\0'));
    SCOPED_TRACE(testing::Message() << '"' << t << "\" form " << f);
    Twins h = twins(t, 0);
    HA shared(LStrAllocCloneAA(h.a.get()));

    // Padding to a width; a handle wide enough already gives a clone, which
    // shares the A payload.
    const int width = static_cast<int>(rng() % 11) - 1;
    const char fill = "0.\0"[round % 3];
    const std::string run(static_cast<std::size_t>(std::max<int>(0, width - t.size())), fill);
    HA l(LStrPadLeftA(h.a.get(), fill, width)), r(LStrPadRightA(h.a.get(), fill, width));
    HW lw(LStrPadLeftW(h.w.get(), static_cast<LWideChar>(fill), width));
    HW rw(LStrPadRightW(h.w.get(), static_cast<LWideChar>(fill), width));
    EXPECT_EQ(text(l.get()), run + t);
    EXPECT_EQ(text(r.get()), t + run);
    EXPECT_EQ(text(lw.get()), widen(run + t));
    EXPECT_EQ(text(rw.get()), widen(t + run));
    EXPECT_EQ(LStrGetCharIndexBaseA(l.get()) + LStrGetCharIndexBaseW(rw.get()), 2);
    EXPECT_EQ(l->payload == h.a->payload, run.empty());

    HA a(new_a[f](h.a.get()));
    HW w(new_w[f](h.w.get()));
    self_a[f](h.a.get());
    self_w[f](h.w.get());
    for (LStrHandleA x : {a.get(), h.a.get()}) EXPECT_EQ(text(x), want_a);
    for (LStrHandleW x : {w.get(), h.w.get()}) EXPECT_EQ(text(x), widen(want_w));
    EXPECT_EQ(LStrGetCharIndexBaseA(a.get()) + LStrGetCharIndexBaseW(w.get()), 2);
    EXPECT_EQ(LStrGetCharIndexBaseA(h.a.get()) + LStrGetCharIndexBaseW(h.w.get()), 0);
    EXPECT_EQ(text(shared.get()), t);
  }
}

#if defined(_WIN32)  // accents on POSIX follow the user's locale: tests/posix
TEST(Case, AccentedLettersInTheAnsiCodePage) {
  Twins h = twins("\xc9t\xe9");
  EXPECT_EQ(text(HA(LStrLowerCaseA(h.a.get())).get()), "\xe9t\xe9");
  EXPECT_EQ(text(HW(LStrUpperCaseW(h.w.get())).get()), QW("\xc9T\xc9"));
}
#endif
