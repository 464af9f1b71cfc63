// Cutting pieces into new handles, and inserting and deleting in place: the
// position rule, clamping, bases and shared A payloads.
#include "edit_support.hpp"

using namespace qtest;

TEST(Cut, PiecesFollowThePositionRuleAndComeBackWithBaseOne) {
  enum Op { sub, left, right };
  struct Case {
    Op op;
    int base, pos, count;
    const char* expected;
  } cases[] = {
      {sub, 1, 3, -1, "cdef"},
      {sub, 1, 3, 100, "cdef"},
      {sub, 1, 7, 2, ""},
      {sub, 1, 0, 3, "abc"},
      {sub, 1, 3, 0, ""},
      {sub, 0, 2, -1, "cdef"},
      {sub, 0, -5, 2, "ab"},
      {sub, 0, 2147483647, -1, ""},
      {sub, 1, -2147483647 - 1, 2147483647, "abcdef"},
      {left, 0, 0, 5, "abcde"},
      {left, 1, 0, 10, "abcdef"},
      {left, 1, 0, -1, ""},
      {right, 0, 0, 2, "ef"},
      {right, 1, 0, 9, "abcdef"},
      {right, 1, 0, -3, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.op << " base " << c.base << " pos " << c.pos << " count " << c.count);
    Twins h = twins("abcdef", c.base);
    HA a(c.op == sub ? LStrSubStringA(h.a.get(), c.pos, c.count)
                     : (c.op == left ? LStrLeftA : LStrRightA)(h.a.get(), c.count));
    HW w(c.op == sub ? LStrSubStringW(h.w.get(), c.pos, c.count)
                     : (c.op == left ? LStrLeftW : LStrRightW)(h.w.get(), c.count));
    EXPECT_EQ(text(a.get()), c.expected);
    EXPECT_EQ(text(w.get()), widen(c.expected));
    EXPECT_EQ(LStrGetCharIndexBaseA(a.get()) + LStrGetCharIndexBaseW(w.get()), 2);
  }
}

TEST(Edit, InsertAndDeleteChangeTheHandleInPlace) {
  struct Case {
    const char* start;
    int base, pos, count;  // count < -9: insert "XY"; otherwise delete
    const char* expected;
  } cases[] = {
      {"abc", 0, 0, -99, "XYabc"},   {"abc", 0, 10, -99, "abcXY"},   {"abc", 0, -5, -99, "XYabc"},
      {"abc", 1, 2, -99, "aXYbc"},   {"", 1, 1, -99, "XY"},          {"abcdef", 1, 2, 10, "a"},
      {"abcdef", 1, 7, 1, "abcdef"}, {"abcdef", 1, 2, -1, "abcdef"}, {"abcdef", 0, 0, 2, "cdef"},
      {"abcdef", 1, 0, 2, "abcdef"}, {"abcdef", 1, 1, 6, ""},        {"abcdef", 1, 6, 1, "abcde"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " base " << c.base << " pos " << c.pos);
    Twins h = twins(c.start, c.base), xy = twins("XY");
    HA other(LStrAllocCloneAA(h.a.get()));  // shares the payload
    const int n = static_cast<int>(std::string(c.expected).size());
    const bool insert = c.count < -9;
    EXPECT_EQ(
        insert ? LStrInsertA(h.a.get(), xy.a.get(), c.pos) : LStrDeleteA(h.a.get(), c.pos, c.count),
        n);
    EXPECT_EQ(
        insert ? LStrInsertW(h.w.get(), xy.w.get(), c.pos) : LStrDeleteW(h.w.get(), c.pos, c.count),
        n);
    EXPECT_EQ(text(h.a.get()), c.expected);
    EXPECT_EQ(text(h.w.get()), widen(c.expected));
    EXPECT_EQ(text(other.get()), c.start);
    EXPECT_EQ(LStrGetCharIndexBaseA(h.a.get()) + LStrGetCharIndexBaseW(h.w.get()), 2 * c.base);
  }
  Twins self = twins("abc");
  EXPECT_EQ(LStrInsertA(self.a.get(), self.a.get(), 2) + LStrInsertW(self.w.get(), self.w.get(), 2),
            12);
  EXPECT_EQ(text(self.a.get()), "aabcbc");
  EXPECT_EQ(text(self.w.get()), QW("aabcbc"));
}
