// Replacement: the pass-by-pass rule, checked against a literal transcription
// of it on many small texts over tiny alphabets (where cascades hide); the
// documented answer for passes that would not end; and speed on long texts.
#include <chrono>
#include <optional>
#include <random>
#include <string>

#include "support.hpp"

using namespace qtest;

namespace {

wstr widen(std::string_view s) { return wstr(s.begin(), s.end()); }

// The rule as written: search from the start, replace, again, until no
// occurrence is left. Gives up (nullopt) on runs that look endless.
std::optional<std::string> by_passes(std::string t, const std::string& s, const std::string& r) {
  if (s.empty()) return t;
  for (int pass = 0; pass < 4000 && t.size() < 4000; ++pass) {
    std::size_t p = t.find(s);
    if (p == std::string::npos) return t;
    t.replace(p, s.size(), r);
  }
  return std::nullopt;
}

// One left-to-right pass, each occurrence replaced once.
std::string once(const std::string& t, const std::string& s, const std::string& r) {
  std::string out;
  std::size_t at = 0;
  for (std::size_t p; (p = t.find(s, at)) != std::string::npos; at = p + s.size())
    out += t.substr(at, p - at) + r;
  return out + t.substr(at);
}

std::string replace_a(std::string_view original, const char* s, const char* r) {
  HA h = make_a(original);
  HA out(LStrReplaceA(h.get(), s, r));
  EXPECT_EQ(text(h.get()), original);
  EXPECT_EQ(LStrGetCharIndexBaseA(out.get()), 1);
  return text(out.get());
}

wstr replace_w(std::string_view text, const char* s, const char* r) {
  HW h = make_w(widen(text));
  wstr sw = s ? widen(s) : wstr(), rw = r ? widen(r) : wstr();
  HW out(LStrReplaceW(h.get(), s ? sw.c_str() : nullptr, r ? rw.c_str() : nullptr));
  return qtest::text(out.get());
}

std::string random_word(std::mt19937& rng, const char* alphabet, std::size_t lo, std::size_t hi) {
  std::string s(lo + rng() % (hi - lo + 1), ' ');
  const std::size_t n = std::char_traits<char>::length(alphabet);
  for (char& c : s) c = alphabet[rng() % n];
  return s;
}

}  // namespace

TEST(Replace, Examples) {
  using namespace std::string_literals;
  struct Case {
    std::string text;
    const char *search, *replacement;
    std::string expected;
  } cases[] = {
      {"a-b-c", "-", "+", "a+b+c"}, {"a-b-c", "-", nullptr, "abc"},
      {"a-b-c", "-", "", "abc"},    {"a-b-c", nullptr, "+", "a-b-c"},
      {"a-b-c", "", "+", "a-b-c"},  {"aabb", "ab", "a", "aa"},
      {"ABab", "ab", "x", "ABx"},   {"", "a", "b", ""},
      {"abc", "abcd", "x", "abc"},  {"a\0b\0"s, "b", "c", "a\0c\0"s},
      {"xxxx", "xx", "x", "x"},     {"abab", "ab", "xab", "xabxab"},
      {"aaa", "a", "aa", "aaaaaa"}, {"hello", "l", "L", "heLLo"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.text << "\" " << (c.search ? c.search : "null")
                                    << " -> " << (c.replacement ? c.replacement : "null"));
    EXPECT_EQ(replace_a(c.text, c.search, c.replacement), c.expected);
    EXPECT_EQ(replace_w(c.text, c.search, c.replacement), widen(c.expected));
  }
}

TEST(Replace, AgreesWithPassByPassOnSmallTexts) {
  std::mt19937 rng(2024);
  int compared = 0, cascades = 0;
  for (int round = 0; round < 30000; ++round) {
    const char* alphabet = round % 3 ? "ab" : "abc";
    const std::string t = random_word(rng, alphabet, 0, 14);
    const std::string s = random_word(rng, alphabet, 1, 3);
    const std::string r = random_word(rng, alphabet, 0, 5);
    if (r.find(s) != std::string::npos) continue;  // never ends: tested below
    const std::optional<std::string> want = by_passes(t, s, r);
    if (!want) continue;
    ++compared;
    cascades += *want != once(t, s, r);
    ASSERT_EQ(replace_a(t, s.c_str(), r.c_str()), *want) << t << ": " << s << " -> " << r;
    ASSERT_EQ(replace_w(t, s.c_str(), r.c_str()), widen(*want)) << t << ": " << s << " -> " << r;
  }
  EXPECT_GT(compared, 15000);
  EXPECT_GT(cascades, 1000);
}

TEST(Replace, EndlessPassesGiveOneLeftToRightPassPromptly) {
  struct Case {
    std::string text;
    std::string search, replacement;
  } cases[] = {
      // The replacement holds the search text: the passes would never end.
      {"abab", "ab", "xab"},
      {"aaa", "a", "aa"},
      {std::string(100'000, 'a'), "a", "ba"},
      // Each "b" that passes an "a" triples the a's: 3^40 a's in the end.
      {"a" + std::string(40, 'b'), "ab", "baaa"},
      // Terminates, but only after about 10^10 passes (a bubble sort).
      {std::string(100'000, 'a') + std::string(100'000, 'b'), "ab", "ba"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.search + " -> " + c.replacement);
    const std::string want = once(c.text, c.search, c.replacement);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(replace_a(c.text, c.search.c_str(), c.replacement.c_str()), want);
    EXPECT_EQ(replace_w(c.text, c.search.c_str(), c.replacement.c_str()), widen(want));
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              20.0);
  }
}

TEST(Replace, LongTextsTakeLinearTime) {
  // 4 MB with 40,000 occurrences: copying the text once per pass, as the
  // rule reads, would move 160 GB.
  std::string text;
  for (int i = 0; i < 40'000; ++i) text += std::string(95, 'x') + "<ab>";
  text.resize(4'000'000, 'y');
  std::string want = once(text, "<ab>", "[]");
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(replace_a(text, "<ab>", "[]"), want);
  EXPECT_EQ(replace_w(text, "<ab>", "[]"), widen(want));
  // A cascade that eats the text from the middle outwards: "a^n b^n" with
  // "ab" -> "" takes n passes, each right where the last one was.
  std::string nested = std::string(1'000'000, 'a') + std::string(1'000'000, 'b');
  EXPECT_EQ(replace_a(nested, "ab", nullptr), "");
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 20.0);
}
