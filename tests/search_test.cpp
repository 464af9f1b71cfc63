// Searching: the exports, the search engine against a naive search, the
// double-byte rules under a Shift-JIS lead-byte set, and character tests.
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

template <class S>
std::size_t naive_find(const S& text, const S& pattern, std::size_t from = 0) {
  for (std::size_t i = from; i + pattern.size() <= text.size(); ++i)
    if (text.compare(i, pattern.size(), pattern) == 0) return i;
  return qe::npos;
}

template <class S>
S random_text(std::mt19937& rng, const S& alphabet, std::size_t max_length) {
  S s(rng() % (max_length + 1), alphabet[0]);
  for (auto& c : s) c = alphabet[rng() % alphabet.size()];
  return s;
}

}  // namespace

TEST(Pos, FindsExactlyAndAnswersInTheBaseOfTheSearchedHandle) {
  struct Case {
    std::string text, pattern;
    int base, expected;
  } cases[] = {{"hello", "lo", 1, 4}, {"hello", "lo", 0, 3},      {"hello", "xyz", 0, -1},
               {"hello", "", 1, 0},   {"", "a", 0, -1},           {"ab", "abc", 1, 0},
               {"ABab", "ab", 1, 3},  {"a\0b\0c"s, "\0c"s, 1, 4}, {"aaab", "aab", 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " / " + c.pattern);
    Twins h = twins(c.text, c.base), p = twins(c.pattern, 1 - c.base);  // p's base never counts
    EXPECT_EQ(LStrPosA(h.a.get(), p.a.get()), c.expected);
    EXPECT_EQ(LStrPosW(h.w.get(), p.w.get()), c.expected);
    EXPECT_EQ(LStrUnicodePosW(h.w.get(), p.w.get()), c.expected);
    EXPECT_EQ(LStrPosPtrA(h.a.get(), c.pattern.c_str()), c.pattern[0] ? c.expected : c.base - 1);
    EXPECT_EQ(LStrPosPtrW(h.w.get(), widen(c.pattern).c_str()),
              c.pattern[0] ? c.expected : c.base - 1);
    // AnsiPos reads both texts up to their first zero byte; else it is LStrPosA here.
    EXPECT_EQ(LStrAnsiPosA(h.a.get(), p.a.get()),
              c.text.find('\0') == c.text.npos ? c.expected : 0);
  }
  Twins h = twins("abc");
  EXPECT_EQ(LStrPosPtrA(h.a.get(), nullptr), 0);
  EXPECT_EQ(LStrPosPtrW(h.w.get(), nullptr), 0);
}

TEST(Finder, EveryStrategyAgreesWithNaiveSearch) {
  std::mt19937 rng(7);
  const std::string bytes = "abc\0\xff"s;
  const wstr units = {0x61, 0x62, 0x6161, 0x6100, 0x4E00, 0, 0xFFFF};  // units sharing bytes
  for (int round = 0; round < 20000; ++round) {
    const std::string abc = bytes.substr(0, 2 + round % 4);
    const wstr uvw = units.substr(0, 2 + round % 6);
    std::string t = random_text(rng, abc, 40), p = random_text(rng, abc, 6);
    wstr tw = random_text(rng, uvw, 40), pw = random_text(rng, uvw, 6);
    const std::size_t want = naive_find(t, p), want_w = naive_find(tw, pw);
    ASSERT_EQ(qe::find(t, p), want) << t << " / " << p;
    ASSERT_EQ(qe::find(tw, pw), want_w);
    if (p.empty() || pw.empty()) continue;
    ASSERT_EQ(qe::detail::TwoWay<LWideChar>(pw).find(tw), want_w);
    // Two-way offers every occurrence, in order, to its acceptor.
    std::vector<std::size_t> offered, all;
    qe::detail::TwoWay<char>(p).find(t, 0,
                                     [&](std::size_t i) { return offered.push_back(i), false; });
    for (std::size_t i = naive_find(t, p); i != qe::npos; i = naive_find(t, p, i + 1))
      all.push_back(i);
    ASSERT_EQ(offered, all) << t << " / " << p;
  }
}

TEST(AnsiDoubleByte, SearchAndTestsAgreeWithReadingCharacterByCharacter) {
  std::mt19937 rng(11);
  // Lead bytes, a trail-only byte, the backslash (a trail in 932 too), a letter, zero.
  const std::string alphabet = "\x81\xe0\x40\\a\0"s;
  for (int round = 0; round < 20000; ++round) {
    const std::string t = random_text(rng, alphabet, 16);
    std::vector<qe::ByteKind> kind(t.size(), qe::ByteKind::single);
    for (std::size_t i = 0; i < t.size(); ++i)
      if (t[i] && kShiftJis(t[i])) {
        kind[i] = qe::ByteKind::lead;
        if (i + 1 < t.size() && t[i + 1]) kind[++i] = qe::ByteKind::trail;
      }
    for (std::size_t i = 0; i < t.size(); ++i) ASSERT_EQ(qe::byte_kind(t, i, kShiftJis), kind[i]);

    const std::string cut = t.substr(0, t.find('\0')),
                      p = random_text(rng, alphabet.substr(0, 5), 3);
    std::size_t want = qe::npos;
    for (std::size_t i = naive_find(cut, p); i != qe::npos && !p.empty() && want == qe::npos;
         i = naive_find(cut, p, i + 1))
      if (kind[i] != qe::ByteKind::trail) want = i;
    ASSERT_EQ(qe::find_on_boundary(cut, p, kShiftJis), want);

    // Read backwards, a matching trail byte is stepped over with its lead.
    const std::string delimiters = random_text(rng, alphabet, 3);
    const std::string set = delimiters.substr(0, delimiters.find('\0'));
    std::size_t last = qe::npos;
    for (std::size_t i = t.size(); i-- > 0 && last == qe::npos;)
      if (t[i] && set.find(t[i]) != set.npos)
        kind[i] == qe::ByteKind::trail ? void(--i) : void(last = i);
    ASSERT_EQ(qe::last_delimiter(t, delimiters, kShiftJis), last);
    for (std::size_t i = 0; i < t.size(); ++i)
      ASSERT_EQ(qe::is_delimiter_at(t, i, delimiters, kShiftJis),
                t[i] && set.find(t[i]) != set.npos && kind[i] == qe::ByteKind::single);
    if (!t.empty()) {
      ASSERT_EQ(qe::last_char_start(t, kShiftJis),
                t.size() - 1 - (kind.back() == qe::ByteKind::trail));
    }
  }
}

TEST(CharacterTests, FollowTheBaseAndTheZeroTerminatedSet) {
  struct Case {
    std::string text, delimiters;
    int base, pos;
    bool is_delimiter, is_path;
    int last;
  } cases[] = {{"a,b", ",;", 1, 2, true, false, 2},
               {"a,b", ",;", 1, 0, false, false, 2},
               {"a,b", ",;", 1, 4, false, false, 2},
               {"a,b", ",;", 0, 1, true, false, 1},
               {"C:\\x", "\\", 1, 3, true, true, 3},
               {"C:/x", "/", 1, 3, true, false, 3},
               {"a/b\\", "\\", 1, 4, true, true, 4},
               {"a/b.c", ";", 0, 1, false, false, -1},
               {"a\0b"s, "x\0a\0"s, 1, 2, false, false, 0},
               {"a;b;", "x\0;"s, 1, 2, false, false, 0},
               {"abcdefghij", "0123456789ab", 1, 2, true, false, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " base " << c.base << " pos " << c.pos);
    Twins h = twins(c.text, c.base), d = twins(c.delimiters);
    EXPECT_EQ(LStrIsDelimiterA(h.a.get(), d.a.get(), c.pos), c.is_delimiter);
    EXPECT_EQ(LStrIsDelimiterW(h.w.get(), d.w.get(), c.pos), c.is_delimiter);
    EXPECT_EQ(LStrIsPathDelimiterA(h.a.get(), c.pos), c.is_path);
    EXPECT_EQ(LStrIsPathDelimiterW(h.w.get(), c.pos), c.is_path);
    EXPECT_EQ(LStrLastDelimiterA(h.a.get(), d.a.get()), c.last);
    EXPECT_EQ(LStrLastDelimiterW(h.w.get(), d.w.get()), c.last);
  }
  Twins empty = twins(""), abc = twins("abc");
  HW pair = make_w(QW("ab\xD83D\xDE00"));
  EXPECT_EQ(LStrAnsiLastCharA(empty.a.get()), nullptr);
  EXPECT_EQ(LStrUnicodeLastCharW(empty.w.get()), nullptr);
  EXPECT_EQ(LStrAnsiLastCharA(abc.a.get()), LStrCstrA(abc.a.get()) + 2);
  EXPECT_EQ(LStrUnicodeLastCharW(pair.get()), LStrCstrW(pair.get()) + 3);  // the low surrogate
}
