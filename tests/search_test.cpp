// Searching: the search exports and the engine under them, checked against a
// naive search; double-byte rules under a Shift-JIS lead-byte set; the
// delimiter tests and the last-character pointers.
#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "edit/finder.hpp"
#include "edit/lead_bytes.hpp"
#include "support.hpp"

using namespace qtest;
namespace qe = quarnel::edit;

namespace {

// The bytes that lead a double-byte character in code page 932.
const qe::LeadBytes kShiftJis([](unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
});
const qe::LeadBytes kNoLeadBytes([](unsigned char) { return false; });

wstr widen(std::string_view s) {
  wstr w;
  for (char c : s) w += static_cast<LWideChar>(static_cast<unsigned char>(c));
  return w;
}

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

double seconds_for(const std::function<void()>& f) {
  auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(Pos, FindsExactlyAndAnswersInTheBaseOfTheSearchedHandle) {
  using namespace std::string_literals;
  struct Case {
    std::string text, pattern;
    int base, expected;
  } cases[] = {
      {"hello", "lo", 1, 4},
      {"hello", "lo", 0, 3},
      {"hello", "xyz", 1, 0},
      {"hello", "xyz", 0, -1},
      {"hello", "", 1, 0},
      {"hello", "", 0, -1},
      {"", "a", 1, 0},
      {"ab", "abc", 0, -1},
      {"hello", "hello", 0, 0},
      {"ABab", "ab", 1, 3},
      {"a\0b\0c"s, "\0c"s, 1, 4},
      {"aaab", "aab", 1, 2},
      {"\xe9t\xe9", "\xe9", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.text << "\" base " << c.base);
    HA h = make_a(c.text), p = make_a(c.pattern);
    HW hw = make_w(widen(c.text)), pw = make_w(widen(c.pattern));
    LStrSetCharIndexBaseA(h.get(), c.base);
    LStrSetCharIndexBaseW(hw.get(), c.base);
    LStrSetCharIndexBaseA(p.get(), 1 - c.base);  // the pattern's base never counts
    EXPECT_EQ(LStrPosA(h.get(), p.get()), c.expected);
    EXPECT_EQ(LStrPosW(hw.get(), pw.get()), c.expected);
    EXPECT_EQ(LStrUnicodePosW(hw.get(), pw.get()), c.expected);
    if (c.pattern.find('\0') == std::string::npos) {
      EXPECT_EQ(LStrPosPtrA(h.get(), c.pattern.c_str()), c.expected);
      EXPECT_EQ(LStrPosPtrW(hw.get(), widen(c.pattern).c_str()), c.expected);
    }
    if (c.text.find('\0') == std::string::npos) {  // single-byte page: as LStrPosA
      EXPECT_EQ(LStrAnsiPosA(h.get(), p.get()), c.expected);
    }
  }
  HA h = make_a("abc");
  HW hw = make_w(QW("abc"));
  EXPECT_EQ(LStrPosPtrA(h.get(), nullptr), 0);
  EXPECT_EQ(LStrPosPtrW(hw.get(), nullptr), 0);
  // AnsiPos reads both texts up to their first zero byte.
  HA z = make_a("ab\0cd"s), cd = make_a("cd");
  EXPECT_EQ(LStrPosA(z.get(), cd.get()), 4);
  EXPECT_EQ(LStrAnsiPosA(z.get(), cd.get()), 0);
}

TEST(Finder, EveryStrategyAgreesWithNaiveSearch) {
  std::mt19937 rng(7);
  const std::string bytes = {'a', 'b', 'c', '\0', '\xff'};
  // Units that share bytes with each other, to trip a byte-wise scan.
  const wstr units = {0x61, 0x62, 0x6161, 0x6100, 0x4E00, 0x0000, 0xFFFF};
  for (int round = 0; round < 20000; ++round) {
    const std::string alphabet = bytes.substr(0, 2 + round % 4);
    std::string t = random_text(rng, alphabet, 40), p = random_text(rng, alphabet, 6);
    wstr tw = random_text(rng, units.substr(0, 2 + round % 6), 40);
    wstr pw = random_text(rng, units.substr(0, 2 + round % 6), 6);
    const std::size_t want = naive_find(t, p), want_w = naive_find(tw, pw);
    ASSERT_EQ(qe::find(t, p), want) << t << " / " << p;
    ASSERT_EQ(qe::detail::scan_and_check(std::string_view(t), p), want);
    ASSERT_EQ(qe::find(tw, pw), want_w);
    if (!pw.empty()) {
      ASSERT_EQ(qe::detail::TwoWay<LWideChar>(pw).find(tw), want_w);
    }
    if (p.empty()) continue;
    // Two-way offers every occurrence in order to its acceptor.
    std::vector<std::size_t> offered, all;
    qe::detail::TwoWay<char>(p).find(t, 0, [&](std::size_t i) {
      offered.push_back(i);
      return false;
    });
    for (std::size_t i = naive_find(t, p); i != qe::npos; i = naive_find(t, p, i + 1))
      all.push_back(i);
    ASSERT_EQ(offered, all) << t << " / " << p;
  }
}

TEST(Finder, LongRepetitivePatternsStayLinear) {
  // A naive or first-unit search would compare about 4e11 units here.
  std::string text(2'000'000, 'a');
  std::string pattern = std::string(200'000, 'a') + "b";
  wstr text_w(text.begin(), text.end()), pattern_w(pattern.begin(), pattern.end());
  double took = seconds_for([&] {
    EXPECT_EQ(qe::find(text, pattern), qe::npos);
    EXPECT_EQ(qe::detail::scan_and_check(std::string_view(text), pattern), qe::npos);
    EXPECT_EQ(qe::find(text_w, pattern_w), qe::npos);
    text.back() = text_w.back() = 'b';
    EXPECT_EQ(qe::find(text, pattern), text.size() - pattern.size());
    EXPECT_EQ(qe::find(text_w, pattern_w), text.size() - pattern.size());
  });
  EXPECT_LT(took, 10.0);
}

TEST(AnsiDoubleByte, SearchAndTestsAgreeWithCharacterByCharacterReading) {
  std::mt19937 rng(11);
  // Lead bytes, a byte that is only a trail, the backslash (also a trail in
  // 932), a plain letter and zero.
  const std::string alphabet = {'\x81', '\xe0', '\x40', '\\', 'a', '\0'};
  for (int round = 0; round < 20000; ++round) {
    std::string t = random_text(rng, alphabet, 16);
    // Reading from the start, the kind of each byte.
    std::vector<qe::ByteKind> kind(t.size(), qe::ByteKind::single);
    for (std::size_t i = 0; i < t.size(); ++i)
      if (t[i] != 0 && kShiftJis(t[i])) {
        if (i + 1 < t.size() && t[i + 1] != 0) kind[i + 1] = qe::ByteKind::trail;
        kind[i] = qe::ByteKind::lead;
        ++i;
      }
    for (std::size_t i = 0; i < t.size(); ++i)
      ASSERT_EQ(qe::byte_kind(t, i, kShiftJis), kind[i]) << "at " << i;

    const std::string cut = t.substr(0, t.find('\0'));
    const std::string p = random_text(rng, alphabet.substr(0, 5), 3);
    std::size_t want = qe::npos;
    for (std::size_t i = naive_find(cut, p); i != qe::npos && !p.empty();
         i = naive_find(cut, p, i + 1))
      if (qe::byte_kind(cut, i, kShiftJis) != qe::ByteKind::trail) {
        want = i;
        break;
      }
    ASSERT_EQ(qe::find_on_boundary(cut, p, kShiftJis), p.empty() ? qe::npos : want);

    // Last delimiter, read backwards: a matching trail steps over its lead.
    const std::string delimiters = random_text(rng, alphabet, 3);
    const std::string set = delimiters.substr(0, delimiters.find('\0'));
    std::size_t last = qe::npos;
    for (std::size_t i = t.size(); i-- > 0;) {
      if (t[i] == 0 || set.find(t[i]) == std::string::npos) continue;
      if (kind[i] != qe::ByteKind::trail) {
        last = i;
        break;
      }
      --i;
    }
    ASSERT_EQ(qe::last_delimiter(t, delimiters, kShiftJis), last);
    for (std::size_t i = 0; i < t.size(); ++i)
      ASSERT_EQ(
          qe::is_delimiter_at(t, i, delimiters, kShiftJis),
          t[i] != 0 && set.find(t[i]) != std::string::npos && kind[i] == qe::ByteKind::single);
    if (!t.empty()) {
      ASSERT_EQ(qe::last_char_start(t, kShiftJis),
                kind.back() == qe::ByteKind::trail ? t.size() - 2 : t.size() - 1);
    }
  }
}

TEST(AnsiDoubleByte, TrailByteBackslashIsNotAPathOrDelimiter) {
  // U+30BD in 932 is 0x83 0x5C: its trail byte is the backslash.
  const std::string text = "C:\x83\x5C\\x";
  EXPECT_EQ(qe::find_on_boundary(text, "\\", kShiftJis), 4u);
  EXPECT_EQ(qe::find_on_boundary(text, "\\", kNoLeadBytes), 3u);
  EXPECT_EQ(qe::last_delimiter("a\\\x83\x5C", "\\", kShiftJis), 1u);
  EXPECT_FALSE(qe::is_delimiter_at(text, 3, "\\", kShiftJis));
  EXPECT_TRUE(qe::is_delimiter_at(text, 4, "\\", kShiftJis));
  EXPECT_EQ(qe::last_char_start("ab\x83\x5C", kShiftJis), 2u);
  EXPECT_EQ(qe::last_char_start("ab\x83", kShiftJis), 2u);

  // Occurrences crowding on trail bytes: 0x40 0x81 0x40 ... matches at every
  // odd index of 0x81 0x40 0x81 0x40 ..., never at a boundary.
  std::string pairs, pattern = "\x40";
  for (int i = 0; i < 500'000; ++i) pairs += "\x81\x40";
  for (int i = 0; i < 50'000; ++i) pattern += "\x81\x40";
  double took = seconds_for([&] {
    EXPECT_EQ(qe::find_on_boundary(pairs, pattern, kShiftJis), qe::npos);
    EXPECT_EQ(qe::last_delimiter(pairs, "\x40", kShiftJis), qe::npos);
  });
  EXPECT_LT(took, 10.0);
}

TEST(Delimiters, TestsFollowTheBaseAndTheSet) {
  using namespace std::string_literals;
  struct Case {
    std::string text, delimiters;
    int base, pos;
    bool is_delimiter, is_path;
  } cases[] = {
      {"a,b", ",;", 1, 2, true, false},       {"a,b", ",;", 1, 1, false, false},
      {"a,b", ",;", 1, 0, false, false},      {"a,b", ",;", 1, 4, false, false},
      {"a,b", ",;", 0, 1, true, false},       {"a,b", ",;", 0, 3, false, false},
      {"C:\\x", "\\", 1, 3, true, true},      {"C:/x", "/", 1, 3, true, false},
      {"a\0b"s, "x\0a"s, 1, 2, false, false}, {"a\0b"s, "x\0a"s, 1, 1, false, false},
      {"a;b", "x\0;"s, 1, 2, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.text << "\" base " << c.base << " pos " << c.pos);
    HA h = make_a(c.text), d = make_a(c.delimiters);
    HW hw = make_w(widen(c.text)), dw = make_w(widen(c.delimiters));
    LStrSetCharIndexBaseA(h.get(), c.base);
    LStrSetCharIndexBaseW(hw.get(), c.base);
    EXPECT_EQ(LStrIsDelimiterA(h.get(), d.get(), c.pos), c.is_delimiter);
    EXPECT_EQ(LStrIsDelimiterW(hw.get(), dw.get(), c.pos), c.is_delimiter);
    EXPECT_EQ(LStrIsPathDelimiterA(h.get(), c.pos), c.is_path);
    EXPECT_EQ(LStrIsPathDelimiterW(hw.get(), c.pos), c.is_path);
  }

  struct Last {
    std::string text, delimiters;
    int base, expected;
  } lasts[] = {
      {"a/b.c", "/.", 1, 4}, {"a/b.c", "/.", 0, 3},
      {"a/b.c", ";", 1, 0},  {"a/b.c", ";", 0, -1},
      {"", "/", 1, 0},       {"a\0b"s, "\0a"s, 1, 0},
      {"x/y/", "/", 1, 4},   {"abcdefghij", "0123456789ab", 1, 2},
  };
  for (const Last& c : lasts) {
    SCOPED_TRACE(testing::Message() << '"' << c.text << "\" base " << c.base);
    HA h = make_a(c.text), d = make_a(c.delimiters);
    HW hw = make_w(widen(c.text)), dw = make_w(widen(c.delimiters));
    LStrSetCharIndexBaseA(h.get(), c.base);
    LStrSetCharIndexBaseW(hw.get(), c.base);
    EXPECT_EQ(LStrLastDelimiterA(h.get(), d.get()), c.expected);
    EXPECT_EQ(LStrLastDelimiterW(hw.get(), dw.get()), c.expected);
  }
}

TEST(LastChar, PointsIntoThePayloadOrIsNull) {
  HA empty_a(LStrAllocA());
  HW empty_w(LStrAllocW());
  EXPECT_EQ(LStrAnsiLastCharA(empty_a.get()), nullptr);
  EXPECT_EQ(LStrUnicodeLastCharW(empty_w.get()), nullptr);
  HA a = make_a("abc");
  HW w = make_w(QW("ab\xD83D\xDE00"));  // ends in a surrogate pair
  EXPECT_EQ(LStrAnsiLastCharA(a.get()), LStrCstrA(a.get()) + 2);
  EXPECT_EQ(LStrUnicodeLastCharW(w.get()), LStrCstrW(w.get()) + 3);
  EXPECT_EQ(*LStrUnicodeLastCharW(w.get()), 0xDE00);
}
