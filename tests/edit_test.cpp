// Cutting pieces, case mapping, trimming and padding into new handles, and
// inserting, deleting, case mapping and trimming in place, against string
// models: the position rule, clamping, bases, zero characters and the W
// trim's cut at the first zero unit, on handles whose A payload a clone
// shares.
#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "edit_support.hpp"

using namespace qtest;
using namespace std::string_literals;

TEST(Edit, PiecesAndInPlaceEditsAgreeWithStringModels) {
  LStrHandleA(QUARNEL_API * new_a[])(LStrHandleA) = {LStrLowerCaseA, LStrUpperCaseA, LStrTrimA,
                                                     LStrTrimLeftA, LStrTrimRightA};
  LStrHandleW(QUARNEL_API * new_w[])(LStrHandleW) = {LStrLowerCaseW, LStrUpperCaseW, LStrTrimW,
                                                     LStrTrimLeftW, LStrTrimRightW};
  void(QUARNEL_API * self_a[])(LStrHandleA) = {
      LStrSelfLowerCaseA, LStrSelfUpperCaseA, LStrSelfTrimA, LStrSelfTrimLeftA, LStrSelfTrimRightA};
  void(QUARNEL_API * self_w[])(LStrHandleW) = {
      LStrSelfLowerCaseW, LStrSelfUpperCaseW, LStrSelfTrimW, LStrSelfTrimLeftW, LStrSelfTrimRightW};
  std::mt19937 rng(23);
  Twins xy = twins("XY");
  // Texts of every length up to 8, both bases, and every pair of positions
  // and counts from the edges of the text and the extremes of int, twice.
  for (int round = 0; round < 9 * 2 * 10 * 10 * 2; ++round) {
    // Letters, blanks, codes just either side of 32 and a non-breaking space.
    const std::string t = random_text(rng, "aZ \t\0\x1f!\x7f\xa0"s, round % 9, round % 9);
    const int base = round / 9 % 2;
    const long long length = static_cast<long long>(t.size());
    const long long near[] = {INT_MIN, INT_MAX, -2, -1, 0, 1, 2, length - 1, length, length + 1};
    const int pos = static_cast<int>(near[round / 18 % 10]);
    const int count = static_cast<int>(near[round / 180 % 10]);
    const int f = static_cast<int>(rng() % 5);  // lower, upper, trim both ends, the start, the end
    const int width = static_cast<int>(rng() % 11) - 1;
    const char fill = "0.\0"[rng() % 3];
    SCOPED_TRACE(testing::Message() << '"' << t << "\" base " << base << " pos " << pos << " count "
                                    << count << " form " << f);
    // 0-based start; a start before the text moves to it, keeping the count.
    const long long at = static_cast<long long>(pos) - base;
    const long long from = std::clamp(at, 0LL, length);
    const std::size_t n = static_cast<std::size_t>(std::clamp<long long>(count, 0, length));
    const std::string run(static_cast<std::size_t>(std::max<long long>(0, width - length)), fill);
    std::string mapped = t, inserted = t, deleted = t;
    for (char& c : mapped) c = f == 0 && c == 'Z' ? 'z' : f == 1 && c == 'a' ? 'A' : c;
    mapped = f < 2 ? mapped : trim_model(mapped, f != 4, f != 3);
    // Zero is blank too; the W trim keeps what it leaves up to a zero unit.
    const std::string mapped_w = mapped.substr(0, f < 2 ? t.npos : mapped.find('\0'));
    const std::string piece = count < 0 ? t.substr(static_cast<std::size_t>(from))
                                        : t.substr(static_cast<std::size_t>(from), n);
    // Now and then a handle inserts its own text.
    const bool self = rng() % 4 == 0;
    inserted.insert(static_cast<std::size_t>(from), self ? t : "XY");
    if (at >= 0 && at < length && count > 0)
      deleted.erase(static_cast<std::size_t>(at), static_cast<std::size_t>(count));

    Twins h = twins(t, base);
    const std::pair<HA, HW> pieces[] = {
        {HA(LStrSubStringA(h.a.get(), pos, count)), HW(LStrSubStringW(h.w.get(), pos, count))},
        {HA(LStrLeftA(h.a.get(), count)), HW(LStrLeftW(h.w.get(), count))},
        {HA(LStrRightA(h.a.get(), count)), HW(LStrRightW(h.w.get(), count))},
        {HA(LStrPadLeftA(h.a.get(), fill, width)), HW(LStrPadLeftW(h.w.get(), fill, width))},
        {HA(LStrPadRightA(h.a.get(), fill, width)), HW(LStrPadRightW(h.w.get(), fill, width))},
        {HA(new_a[f](h.a.get())), HW(new_w[f](h.w.get()))}};
    const std::string want[] = {piece,   t.substr(0, n), t.substr(t.size() - n),
                                run + t, t + run,        mapped};
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(text(pieces[i].first.get()), want[i]) << "piece " << i;
      EXPECT_EQ(text(pieces[i].second.get()), widen(i == 5 ? mapped_w : want[i])) << "piece " << i;
      EXPECT_EQ(LStrGetCharIndexBaseA(pieces[i].first.get()), 1);
      EXPECT_EQ(LStrGetCharIndexBaseW(pieces[i].second.get()), 1);
    }
    // A handle wide enough already gives a clone, which shares the A payload.
    EXPECT_EQ(pieces[3].first->payload == h.a->payload, run.empty());

    // In place, on a handle whose A payload another handle shares.
    for (int op = 0; op < 3; ++op) {
      Twins e = twins(t, base);
      HA other(LStrAllocCloneAA(e.a.get()));
      const std::string& edited = op == 0 ? inserted : op == 1 ? deleted : mapped;
      if (op < 2) {
        EXPECT_EQ(op == 0 ? LStrInsertA(e.a.get(), self ? e.a.get() : xy.a.get(), pos)
                          : LStrDeleteA(e.a.get(), pos, count),
                  static_cast<int>(edited.size()));
        EXPECT_EQ(op == 0 ? LStrInsertW(e.w.get(), self ? e.w.get() : xy.w.get(), pos)
                          : LStrDeleteW(e.w.get(), pos, count),
                  static_cast<int>(edited.size()));
      } else {
        self_a[f](e.a.get());
        self_w[f](e.w.get());
      }
      EXPECT_EQ(text(e.a.get()), edited);
      EXPECT_EQ(text(e.w.get()), widen(op == 2 ? mapped_w : edited));
      EXPECT_EQ(text(other.get()), t);
      EXPECT_EQ(LStrGetCharIndexBaseA(e.a.get()) + LStrGetCharIndexBaseW(e.w.get()), 2 * base);
    }
  }
}

#if defined(_WIN32)  // accents on POSIX follow the user's locale: tests/posix
TEST(Case, AccentedLettersInTheAnsiCodePage) {
  Twins h = twins("\xc9t\xe9");
  EXPECT_EQ(text(HA(LStrLowerCaseA(h.a.get())).get()), "\xe9t\xe9");
  EXPECT_EQ(text(HW(LStrUpperCaseW(h.w.get())).get()), QW("\xc9T\xc9"));
}
#endif
