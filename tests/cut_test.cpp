// Cutting pieces into new handles, and inserting and deleting in place: the
// position rule, clamping, and what happens to shared A payloads.
#include <string>

#include "support.hpp"

using namespace qtest;

namespace {

wstr widen(std::string_view s) { return wstr(s.begin(), s.end()); }

}  // namespace

TEST(Cut, PiecesFollowThePositionRuleAndComeBackWithBaseOne) {
  enum Op { sub, left, right };
  struct Case {
    Op op;
    int base, pos, count;
    const char* expected;
  } cases[] = {
      {sub, 1, 3, -1, "cdef"},      {sub, 1, 3, 100, "cdef"},
      {sub, 1, 7, 2, ""},           {sub, 1, 0, 3, "abc"},
      {sub, 1, 3, 0, ""},           {sub, 0, 2, -1, "cdef"},
      {sub, 0, -5, 2, "ab"},        {sub, 1, 6, -1, "f"},
      {sub, 0, 2147483647, -1, ""}, {sub, 1, -2147483647 - 1, 2147483647, "abcdef"},
      {sub, 1, 2, 1, "b"},          {left, 0, 0, 5, "abcde"},
      {left, 1, 0, 10, "abcdef"},   {left, 1, 0, -1, ""},
      {left, 1, 0, 0, ""},          {right, 0, 0, 2, "ef"},
      {right, 1, 0, 6, "abcdef"},   {right, 1, 0, 9, "abcdef"},
      {right, 1, 0, -3, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "op " << c.op << " base " << c.base << " pos " << c.pos
                                    << " count " << c.count);
    HA h = make_a("abcdef");
    HW w = make_w(QW("abcdef"));
    LStrSetCharIndexBaseA(h.get(), c.base);
    LStrSetCharIndexBaseW(w.get(), c.base);
    HA a(c.op == sub    ? LStrSubStringA(h.get(), c.pos, c.count)
         : c.op == left ? LStrLeftA(h.get(), c.count)
                        : LStrRightA(h.get(), c.count));
    HW b(c.op == sub    ? LStrSubStringW(w.get(), c.pos, c.count)
         : c.op == left ? LStrLeftW(w.get(), c.count)
                        : LStrRightW(w.get(), c.count));
    EXPECT_EQ(text(a.get()), c.expected);
    EXPECT_EQ(text(b.get()), widen(c.expected));
    EXPECT_EQ(LStrGetCharIndexBaseA(a.get()), 1);
    EXPECT_EQ(LStrGetCharIndexBaseW(b.get()), 1);
    EXPECT_EQ(text(h.get()), "abcdef");
  }
  // Zero characters are cut like any other.
  using namespace std::string_literals;
  HA z = make_a("a\0b\0"s);
  HA piece(LStrSubStringA(z.get(), 2, 3));
  EXPECT_EQ(text(piece.get()), "\0b\0"s);
}

TEST(Edit, InsertAndDeleteChangeTheHandleInPlace) {
  enum Op { insert, erase };
  struct Case {
    Op op;
    const char* start;
    int base, pos, count;  // count: deletion only
    const char* expected;
  } cases[] = {
      {insert, "abc", 0, 0, 0, "XYabc"},
      {insert, "abc", 0, 10, 0, "abcXY"},
      {insert, "abc", 0, -5, 0, "XYabc"},
      {insert, "abc", 1, 2, 0, "aXYbc"},
      {insert, "abc", 1, 4, 0, "abcXY"},
      {insert, "", 1, 1, 0, "XY"},
      {insert, "abc", 0, 2147483647, 0, "abcXY"},
      {erase, "abcdef", 1, 2, 10, "a"},
      {erase, "abcdef", 1, 7, 1, "abcdef"},
      {erase, "abcdef", 1, 2, 0, "abcdef"},
      {erase, "abcdef", 1, 2, -1, "abcdef"},
      {erase, "abcdef", 0, 0, 2, "cdef"},
      {erase, "abcdef", 1, 0, 2, "abcdef"},
      {erase, "abcdef", 1, 1, 6, ""},
      {erase, "", 1, 1, 1, ""},
      {erase, "abcdef", 0, -2147483647 - 1, 3, "abcdef"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.start << " op " << c.op << " base " << c.base << " pos " << c.pos);
    HA h = make_a(c.start), xy = make_a("XY");
    HW w = make_w(widen(c.start)), xyw = make_w(QW("XY"));
    HA other(LStrAllocCloneAA(h.get()));  // shares the payload
    LStrSetCharIndexBaseA(h.get(), c.base);
    LStrSetCharIndexBaseW(w.get(), c.base);
    const int n = static_cast<int>(std::string(c.expected).size());
    if (c.op == insert) {
      EXPECT_EQ(LStrInsertA(h.get(), xy.get(), c.pos), n);
      EXPECT_EQ(LStrInsertW(w.get(), xyw.get(), c.pos), n);
    } else {
      EXPECT_EQ(LStrDeleteA(h.get(), c.pos, c.count), n);
      EXPECT_EQ(LStrDeleteW(w.get(), c.pos, c.count), n);
    }
    EXPECT_EQ(text(h.get()), c.expected);
    EXPECT_EQ(text(w.get()), widen(c.expected));
    EXPECT_EQ(text(other.get()), c.start);
    EXPECT_EQ(LStrGetCharIndexBaseA(h.get()), c.base);
    EXPECT_EQ(LStrGetCharIndexBaseW(w.get()), c.base);
  }
}

TEST(Edit, InsertingAHandleIntoItself) {
  HA h = make_a("abc");
  HW w = make_w(QW("abc"));
  EXPECT_EQ(LStrInsertA(h.get(), h.get(), 2), 6);
  EXPECT_EQ(LStrInsertW(w.get(), w.get(), 2), 6);
  EXPECT_EQ(text(h.get()), "aabcbc");
  EXPECT_EQ(text(w.get()), QW("aabcbc"));
}
