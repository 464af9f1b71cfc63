// Replacement: the pass-by-pass rule against a literal transcription of it
// on many small texts over tiny alphabets (where cascades hide), with zero
// characters and letters of the other case in the text, and null and empty
// texts; passes that would not end or would run for ages give one
// left-to-right pass.
#include <random>

#include "edit_support.hpp"
#include "replace_model.hpp"

using namespace qtest;

namespace {

// Replaces in both families; checks they agree and that h keeps its text.
std::string replaced(const std::string& original, const char* s, const char* r) {
  Twins h = twins(original);
  const wstr sw = widen(s ? s : ""), rw = widen(r ? r : "");
  HA a(LStrReplaceA(h.a.get(), s, r));
  HW w(LStrReplaceW(h.w.get(), s ? sw.c_str() : nullptr, r ? rw.c_str() : nullptr));
  EXPECT_EQ(text(w.get()), widen(text(a.get())));
  EXPECT_EQ(text(h.a.get()), original);
  EXPECT_EQ(LStrGetCharIndexBaseA(a.get()), 1);
  return text(a.get());
}

}  // namespace

TEST(Replace, AgreesWithPassByPassOnSmallTexts) {
  using namespace std::string_literals;
  std::mt19937 rng(2024);
  int compared = 0, cascades = 0;
  for (int round = 0; round < 30000; ++round) {
    const std::string abc = round % 3 ? "ab" : "abc";
    const std::string t = random_text(rng, round % 5 ? abc : abc + "A\0"s, 14),
                      s = round % 40 ? random_text(rng, abc, 3, 1) : "",
                      r = random_text(rng, abc, 5);
    // A null search or replacement is an empty one.
    const char* search = s.empty() && round % 80 ? nullptr : s.c_str();
    const char* replacement = r.empty() && round % 2 ? nullptr : r.c_str();
    // A replacement that holds the search text would never end.
    const std::optional<std::string> want = s.empty() ? t
                                            : r.find(s) != std::string::npos
                                                ? qmodel::once<char>(t, s, r)
                                                : qmodel::by_passes<char>(t, s, r, 4000, 4000);
    if (!want) continue;
    ++compared;
    cascades += !s.empty() && *want != qmodel::once<char>(t, s, r);
    ASSERT_EQ(replaced(t, search, replacement), *want) << t << ": " << s << " -> " << r;
  }
  EXPECT_GT(compared, 20000);
  EXPECT_GT(cascades, 1000);
}

TEST(Replace, PassesThatWouldRunForAgesGiveOnePass) {
  struct Case {
    std::string text;
    const char *search, *replacement;
  } cases[] = {
      {std::string(100'000, 'a'), "a", "ba"},
      {"a" + std::string(40, 'b'), "ab", "baaa"},  // would end with 3^40 a's
      // Ends, but after some 10^10 passes (a bubble sort).
      {std::string(100'000, 'a') + std::string(100'000, 'b'), "ab", "ba"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(replaced(c.text, c.search, c.replacement),
              qmodel::once<char>(c.text, c.search, c.replacement));
}
