// Creating and cloning handles; the index base.
#include "support.hpp"

using namespace qtest;

TEST(Create, LengthRuleChoosesTheCharacters) {
  const char bytes[] = {'a', 'b', 0, 'c', 'd', 0};
  const LWideChar units[] = {'a', 'b', 0, 'c', 'd', 0};
  struct Case {
    bool null_text;
    int length;
    int expected;
  } cases[] = {{true, 5, 0},   {true, -1, 0}, {false, 0, 0}, {false, -1, 2},
               {false, -7, 2}, {false, 5, 5}, {false, 3, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "null=" << c.null_text << " length=" << c.length);
    HA a(LStrAllocFromASzStrA(c.null_text ? nullptr : bytes, c.length));
    HW w(LStrAllocFromWSzStrW(c.null_text ? nullptr : units, c.length));
    HA wa(LStrAllocFromWSzStrA(c.null_text ? nullptr : units, c.length));
    HW aw(LStrAllocFromASzStrW(c.null_text ? nullptr : bytes, c.length));
    EXPECT_EQ(text(a.get()), std::string(bytes, c.expected));
    EXPECT_EQ(text(wa.get()), std::string(bytes, c.expected));
    EXPECT_EQ(text(w.get()), wstr(units, c.expected));
    EXPECT_EQ(text(aw.get()), wstr(units, c.expected));
    if (c.expected == 0) {
      EXPECT_EQ(a->payload, nullptr);
      EXPECT_EQ(w->payload, nullptr);
    }
  }
}

TEST(Create, SingleCharactersAndRuns) {
  for (int count : {-3, 0, 1, 4}) {
    const std::size_t expected = count < 0 ? 0 : static_cast<std::size_t>(count);
    for (char ch : {'z', '\0'}) {
      // The A character is kept even when zero; the W zero character is no text.
      EXPECT_EQ(text(HA(LStrAllocFromCharA(ch)).get()), std::string(1, ch));
      const auto unit = static_cast<LWideChar>(ch);
      EXPECT_EQ(text(HW(LStrAllocFromCharW(unit)).get()), wstr(ch != 0, unit));
      EXPECT_EQ(text(HA(LStrAllocStringOfCharA(ch, count)).get()), std::string(expected, ch));
      EXPECT_EQ(text(HW(LStrAllocStringOfCharW(unit, count)).get()), wstr(expected, unit));
    }
  }
}

// A clones share the payload until one changes (Unique copies only a shared
// one); W clones copy.
TEST(Clone, AnsiSharesUntilOneChangesWideCopies) {
  HA empty(LStrAllocA());
  LStrUniqueA(empty.get());
  EXPECT_EQ(empty->payload, nullptr);
  HA src = make_a("hello");
  char* before = src->payload;
  LStrUniqueA(src.get());
  EXPECT_EQ(src->payload, before);
  HA copy(LStrAllocCloneAA(src.get())), unique(LStrAllocCloneAA(src.get()));
  EXPECT_EQ(copy->payload, before);
  LStrUniqueA(unique.get());
  LStrSetCharAtA(copy.get(), 1, 'j');
  EXPECT_NE(copy->payload, before);
  EXPECT_NE(unique->payload, before);
  EXPECT_EQ(src->payload, before);
  EXPECT_EQ(text(copy.get()), "jello");
  EXPECT_EQ(text(unique.get()), "hello");
  EXPECT_EQ(text(src.get()), "hello");

  HW wsrc = make_w(QW("abc"));
  HW wcopy(LStrAllocCloneWW(wsrc.get()));
  EXPECT_NE(wcopy->payload, wsrc->payload);
  EXPECT_EQ(text(wcopy.get()), QW("abc"));
}

// Handles and their clones start with base 1; only 0 and 1 are accepted, and
// any other base is refused (0) and leaves the base as it was.
TEST(IndexBase, OnlyZeroAndOneAreAcceptedClonesStartAtOne) {
  HA a = make_a("x");
  HW w = make_w(QW("x"));
  int after = 1;  // each base set is read back on the next round
  for (int base : {0, 2, -1, 1, 7, 0}) {
    EXPECT_EQ(LStrGetCharIndexBaseA(a.get()), after);
    EXPECT_EQ(LStrGetCharIndexBaseW(w.get()), after);
    EXPECT_EQ(LStrGetCharIndexBaseA(HA(LStrAllocCloneAA(a.get())).get()), 1);
    EXPECT_EQ(LStrGetCharIndexBaseW(HW(LStrAllocCloneWW(w.get())).get()), 1);
    const int accepted = base == 0 || base == 1;
    after = accepted ? base : after;
    EXPECT_EQ(LStrSetCharIndexBaseA(a.get(), base), accepted);
    EXPECT_EQ(LStrSetCharIndexBaseW(w.get(), base), accepted);
  }
  EXPECT_EQ(text(a.get()), "x");
}
