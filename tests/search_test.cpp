// Searching and character tests: the exports against std::string, the
// search engine against std::string's find, the double-byte rules under a
// Shift-JIS lead-byte set.
#include <random>
#include <vector>

#include "edit/finder.hpp"
#include "edit/lead_bytes.hpp"
#include "edit_support.hpp"

using namespace qtest;
using namespace std::string_literals;
namespace qe = quarnel::edit;

namespace {

// The bytes that lead a double-byte character in code page 932.
const qe::LeadBytes kShiftJis([](unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
});

}  // namespace

// The exports on random texts against std::string: positions count in the
// searched handle's base (a pattern's base never counts) and "not found" or
// an empty pattern is base - 1; the pointer forms read the pattern, AnsiPos
// both texts, up to the first zero. The same short texts serve as delimiter
// sets, read up to their first zero.
TEST(SearchExports, AgreeWithStdStringOnRandomTexts) {
  std::mt19937 rng(3);
  const std::string alphabet = "aA,\\\0"s;
  auto cut = [](const std::string& s) { return s.substr(0, s.find('\0')); };
  for (int round = 0; round < 3000; ++round) {
    const int base = round % 2;
    const std::string t = random_text(rng, alphabet, 8),
                      p = random_text(rng, alphabet, round % 5 ? 3 : 12);
    auto pos = [base](const std::string& s, const std::string& q) {
      const std::size_t at = s.find(q);
      return q.empty() || at == s.npos ? base - 1 : static_cast<int>(at) + base;
    };
    SCOPED_TRACE(testing::Message() << '"' << t << "\" / \"" << p << "\" base " << base);
    Twins h = twins(t, base), q = twins(p, 1 - base);
    EXPECT_EQ(LStrPosA(h.a.get(), q.a.get()), pos(t, p));
    EXPECT_EQ(LStrPosW(h.w.get(), q.w.get()), pos(t, p));
    EXPECT_EQ(LStrUnicodePosW(h.w.get(), q.w.get()), pos(t, p));
    // A null pattern pointer is not found.
    const bool null = round % 9 == 0;
    EXPECT_EQ(LStrPosPtrA(h.a.get(), null ? nullptr : p.c_str()), pos(t, null ? "" : cut(p)));
    EXPECT_EQ(LStrPosPtrW(h.w.get(), null ? nullptr : widen(p).c_str()),
              pos(t, null ? "" : cut(p)));
    EXPECT_EQ(LStrAnsiPosA(h.a.get(), q.a.get()), pos(cut(t), cut(p)));

    // Just outside the text nothing is a delimiter.
    const std::string set = cut(p);
    int last = base - 1;
    for (int i = -1; i <= static_cast<int>(t.size()); ++i) {
      const char c = i >= 0 && i < static_cast<int>(t.size()) ? t[static_cast<std::size_t>(i)] : 0;
      const bool delimiter = c && set.find(c) != set.npos;
      last = delimiter ? i + base : last;
      EXPECT_EQ(LStrIsDelimiterA(h.a.get(), q.a.get(), i + base), delimiter);
      EXPECT_EQ(LStrIsDelimiterW(h.w.get(), q.w.get(), i + base), delimiter);
      EXPECT_EQ(LStrIsPathDelimiterA(h.a.get(), i + base), c == '\\');
      EXPECT_EQ(LStrIsPathDelimiterW(h.w.get(), i + base), c == '\\');
    }
    EXPECT_EQ(LStrLastDelimiterA(h.a.get(), q.a.get()), last);
    EXPECT_EQ(LStrLastDelimiterW(h.w.get(), q.w.get()), last);
    // The last character, or null for an empty text.
    const int end = static_cast<int>(t.size()) - 1;
    EXPECT_EQ(LStrAnsiLastCharA(h.a.get()), t.empty() ? nullptr : LStrCstrA(h.a.get()) + end);
    EXPECT_EQ(LStrUnicodeLastCharW(h.w.get()), t.empty() ? nullptr : LStrCstrW(h.w.get()) + end);
  }
  HW pair = make_w(QW("ab\xD83D\xDE00"));
  EXPECT_EQ(LStrUnicodeLastCharW(pair.get()), LStrCstrW(pair.get()) + 3);  // the low surrogate
}

TEST(Finder, EveryStrategyAgreesWithStdStringFind) {
  std::mt19937 rng(7);
  const std::string bytes = "abc\0\xff"s;
  const wstr units = {0x61, 0x62, 0x6161, 0x6100, 0x4E00, 0, 0xFFFF};  // units sharing bytes
  for (int round = 0; round < 20000; ++round) {
    const std::string abc = bytes.substr(0, 2 + round % 4);
    const wstr uvw = units.substr(0, 2 + round % 6);
    std::string t = random_text(rng, abc, 40), p = random_text(rng, abc, 6);
    wstr tw = random_text(rng, uvw, 40), pw = random_text(rng, uvw, 6);
    const std::size_t want = t.find(p), want_w = tw.find(pw);
    ASSERT_EQ(qe::find(t, p), want) << t << " / " << p;
    ASSERT_EQ(qe::find(tw, pw), want_w);
    if (p.empty() || pw.empty()) continue;
    ASSERT_EQ(qe::detail::TwoWay<LWideChar>(pw).find(tw), want_w);
    // Two-way offers every occurrence, in order, to its acceptor.
    std::vector<std::size_t> offered, all;
    qe::detail::TwoWay<char>(p).find(t, 0,
                                     [&](std::size_t i) { return offered.push_back(i), false; });
    for (std::size_t i = t.find(p); i != qe::npos; i = t.find(p, i + 1)) all.push_back(i);
    ASSERT_EQ(offered, all) << t << " / " << p;
  }
}

TEST(AnsiDoubleByte, SearchAndTestsAgreeWithReadingCharacterByCharacter) {
  std::mt19937 rng(11);
  // Lead bytes, a trail-only byte, the backslash (a trail in 932 too), a letter, zero.
  const std::string alphabet = "\x81\xe0\x40\\a\0"s;
  for (int round = 0; round < 20000; ++round) {
    const std::string t = random_text(rng, alphabet, 16, 1);
    const std::string delimiters = random_text(rng, alphabet, 3);
    const std::string set = delimiters.substr(0, delimiters.find('\0'));
    std::vector<qe::ByteKind> kind(t.size(), qe::ByteKind::single);
    for (std::size_t i = 0; i < t.size(); ++i)
      if (t[i] && kShiftJis(t[i])) {
        kind[i] = qe::ByteKind::lead;
        if (i + 1 < t.size() && t[i + 1]) kind[++i] = qe::ByteKind::trail;
      }
    for (std::size_t i = 0; i < t.size(); ++i) {
      ASSERT_EQ(qe::byte_kind(t, i, kShiftJis), kind[i]);
      ASSERT_EQ(qe::is_delimiter_at(t, i, delimiters, kShiftJis),
                t[i] && set.find(t[i]) != set.npos && kind[i] == qe::ByteKind::single);
    }
    ASSERT_EQ(qe::last_char_start(t, kShiftJis),
              t.size() - 1 - (kind.back() == qe::ByteKind::trail));

    const std::string cut = t.substr(0, t.find('\0')),
                      p = random_text(rng, alphabet.substr(0, 5), 3);
    std::size_t want = qe::npos;
    for (std::size_t i = cut.find(p); i != qe::npos && !p.empty() && want == qe::npos;
         i = cut.find(p, i + 1))
      if (kind[i] != qe::ByteKind::trail) want = i;
    ASSERT_EQ(qe::find_on_boundary(cut, p, kShiftJis), want);

    // Read backwards, a matching trail byte is stepped over with its lead.
    std::size_t last = qe::npos;
    for (std::size_t i = t.size(); i-- > 0 && last == qe::npos;)
      if (t[i] && set.find(t[i]) != set.npos)
        kind[i] == qe::ByteKind::trail ? void(--i) : void(last = i);
    ASSERT_EQ(qe::last_delimiter(t, delimiters, kShiftJis), last);
  }
}
