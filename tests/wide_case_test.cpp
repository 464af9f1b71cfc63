// W case mapping: Unicode's simple case mappings, the same on every platform
// and under every locale; against ICU's u_toupper/u_tolower where the suite
// is built with ICU.
#include "edit/wide_case.hpp"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include "support.hpp"

#if defined(QUARNEL_TEST_WITH_ICU)
#include <unicode/uchar.h>
#endif

namespace qe = quarnel::edit;
namespace qp = quarnel::platform;
using namespace qtest;
using Unit = LWideChar;

// Whole texts, copied and in place, through the exports (the same under any
// locale), against the table code point by code point: runs of ASCII (the
// vector path) broken by other letters, zeros and surrogates, paired and not,
// at every alignment.
TEST(WideCase, TextsMapAsTheirCodePoints) {
  const Unit alphabet[] = {'a',   'Z',   'q',    'M',    '0',    ' ',    '@',   '[',
                           '`',   '{',   0,      0xE9,   0xC9,   0xFF,   0x3B1, 0x416,
                           0x131, 0x130, 0xD801, 0xDC28, 0xD83D, 0xDE00, 0xDC00};
  std::mt19937 rng(11);
  for (int round = 0; round < 3000; ++round) {
    wstr text(rng() % 80, 0);
    for (Unit& u : text)
      u = round % 2 == 0 && rng() % 8 ? static_cast<Unit>('A' + rng() % 58)
                                      : alphabet[rng() % std::size(alphabet)];
    for (qp::Case to : {qp::Case::lower, qp::Case::upper}) {
      const qe::WideCaseTable& table = qe::WideCaseTable::of(to);
      wstr want = text;
      for (std::size_t i = 0; i < want.size(); ++i) {
        if ((want[i] & 0xFC00) != 0xD800 || (want[i + 1] & 0xFC00) != 0xDC00) {
          want[i] = table[want[i]];
          continue;
        }
        char32_t c =
            table.map_code_point(0x10000 + ((want[i] - 0xD800u) << 10) + (want[i + 1] - 0xDC00u));
        want[i] = static_cast<Unit>(0xD800 + ((c - 0x10000) >> 10));
        want[++i] = static_cast<Unit>(0xDC00 + (c & 0x3FF));
      }
      HW h = make_w(text);
      const bool upper = to == qp::Case::upper;
      HW mapped(upper ? LStrUpperCaseW(h.get()) : LStrLowerCaseW(h.get()));
      upper ? LStrSelfUpperCaseW(h.get()) : LStrSelfLowerCaseW(h.get());
      ASSERT_EQ(qtest::text(mapped.get()), want) << "round " << round;
      ASSERT_EQ(qtest::text(h.get()), want) << "round " << round;
    }
  }
}

#if defined(QUARNEL_TEST_WITH_ICU)
// Every code point against ICU's simple case mapping. There are no deliberate
// differences: the table is Unicode's simple mappings, which is what
// u_toupper and u_tolower answer. Code points that ICU knows from a newer
// Unicode version than the table's are not compared (they have no mapping
// in the table yet). Surrogates, which are no characters, map to themselves.
TEST(WideCase, EveryCodePointAsIcuMapsIt) {
  const unsigned version = qe::WideCaseTable::unicode_version();
  std::size_t mapped = 0;
  for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
    UVersionInfo age;
    u_charAge(c, age);
    if ((unsigned{age[0]} << 16 | unsigned{age[1]} << 8 | age[2]) > version) continue;
    const char32_t upper = qe::WideCaseTable::of(qp::Case::upper).map_code_point(c);
    const char32_t lower = qe::WideCaseTable::of(qp::Case::lower).map_code_point(c);
    ASSERT_EQ(upper, static_cast<char32_t>(u_toupper(c))) << std::hex << c;
    ASSERT_EQ(lower, static_cast<char32_t>(u_tolower(c))) << std::hex << c;
    mapped += upper != static_cast<char32_t>(c) || lower != static_cast<char32_t>(c);
  }
  EXPECT_GT(mapped, 2800u);  // Unicode 15 has some 2,900 characters with case
}
#endif
