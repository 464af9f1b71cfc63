// Cutting pieces into new handles, and inserting and deleting in place,
// against std::string: the position rule, clamping, bases and shared A
// payloads.
#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "edit_support.hpp"

using namespace qtest;

TEST(Cut, PiecesInsertsAndDeletesAgreeWithAStringModel) {
  // Every text up to 8 characters, both bases, and every pair of positions
  // and counts from the edges of the text and the extremes of int.
  for (int round = 0; round < 9 * 2 * 10 * 10; ++round) {
    const std::string start = std::string("abcdefgh").substr(0, round % 9);
    const int base = round / 9 % 2;
    const long long length = static_cast<long long>(start.size());
    const long long near[] = {INT_MIN, INT_MAX, -2, -1, 0, 1, 2, length - 1, length, length + 1};
    const int pos = static_cast<int>(near[round / 18 % 10]);
    const int count = static_cast<int>(near[round / 180]);
    SCOPED_TRACE(testing::Message()
                 << '"' << start << "\" base " << base << " pos " << pos << " count " << count);
    // 0-based start; a start before the text moves to it, keeping the count.
    const long long at = static_cast<long long>(pos) - base;
    const long long from = std::clamp(at, 0LL, length);
    const std::string piece =
        count < 0 ? start.substr(static_cast<std::size_t>(from))
                  : start.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count));
    const std::size_t n = static_cast<std::size_t>(std::clamp<long long>(count, 0, length));
    const std::string left = start.substr(0, n), right = start.substr(start.size() - n);
    std::string inserted = start, deleted = start;
    inserted.insert(static_cast<std::size_t>(from), "XY");
    if (at >= 0 && at < length && count > 0)
      deleted.erase(static_cast<std::size_t>(at), static_cast<std::size_t>(count));

    Twins h = twins(start, base), xy = twins("XY");
    const std::pair<HA, HW> pieces[] = {
        {HA(LStrSubStringA(h.a.get(), pos, count)), HW(LStrSubStringW(h.w.get(), pos, count))},
        {HA(LStrLeftA(h.a.get(), count)), HW(LStrLeftW(h.w.get(), count))},
        {HA(LStrRightA(h.a.get(), count)), HW(LStrRightW(h.w.get(), count))}};
    int i = 0;
    for (const std::string& want : {piece, left, right}) {
      EXPECT_EQ(text(pieces[i].first.get()), want) << "piece " << i;
      EXPECT_EQ(text(pieces[i].second.get()), widen(want)) << "piece " << i;
      EXPECT_EQ(LStrGetCharIndexBaseA(pieces[i].first.get()), 1);
      EXPECT_EQ(LStrGetCharIndexBaseW(pieces[i].second.get()), 1);
      ++i;
    }

    // In place, on a handle whose A payload another handle shares.
    for (bool insert : {true, false}) {
      Twins e = twins(start, base);
      HA other(LStrAllocCloneAA(e.a.get()));
      const std::string& want = insert ? inserted : deleted;
      EXPECT_EQ(
          insert ? LStrInsertA(e.a.get(), xy.a.get(), pos) : LStrDeleteA(e.a.get(), pos, count),
          static_cast<int>(want.size()));
      EXPECT_EQ(
          insert ? LStrInsertW(e.w.get(), xy.w.get(), pos) : LStrDeleteW(e.w.get(), pos, count),
          static_cast<int>(want.size()));
      EXPECT_EQ(text(e.a.get()), want);
      EXPECT_EQ(text(e.w.get()), widen(want));
      EXPECT_EQ(text(other.get()), start);
      EXPECT_EQ(LStrGetCharIndexBaseA(e.a.get()) + LStrGetCharIndexBaseW(e.w.get()), 2 * base);
    }
  }
  Twins self = twins("abc");
  EXPECT_EQ(LStrInsertA(self.a.get(), self.a.get(), 2) + LStrInsertW(self.w.get(), self.w.get(), 2),
            12);
  EXPECT_EQ(text(self.a.get()), "aabcbc");
  EXPECT_EQ(text(self.w.get()), QW("aabcbc"));
}
