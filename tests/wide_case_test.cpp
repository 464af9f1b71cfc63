// The W case table against the locale function it stands in for.
#include "edit/wide_case.hpp"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace qe = quarnel::edit;
namespace qp = quarnel::platform;
using Unit = LWideChar;

namespace {

const qp::Case kBoth[] = {qp::Case::lower, qp::Case::upper};

TEST(WideCaseTable, AgreesWithTheLocaleOnEveryUnit) {
  for (qp::Case to : kBoth) {
    const qe::WideCaseTable& table = qe::WideCaseTable::of(to);
    for (unsigned u = 0; u < 0x10000; ++u) {
      if (u >= 0xD800 && u < 0xE000) continue;
      Unit one = static_cast<Unit>(u);
      qp::map_case(&one, 1, to);
      ASSERT_EQ(table[static_cast<Unit>(u)], one) << std::hex << u;
    }
  }
}

// Whole texts, in place and copied, against the locale function over the
// same text: runs of ASCII (the vector path) broken by Latin, Greek,
// Cyrillic, zeros and surrogate pairs, at every alignment.
TEST(WideCaseTable, MapsTextsAsTheLocaleDoes) {
  const std::vector<Unit> alphabet = {'a',   'Z',   'q',    'M',    '0',    ' ',   '@',   '[',
                                      '`',   '{',   0,      0xE9,   0xC9,   0xFF,  0x3B1, 0x416,
                                      0x131, 0x130, 0xD801, 0xDC28, 0xD83D, 0xDE00};
  std::mt19937 rng(11);
  for (int round = 0; round < 3000; ++round) {
    std::vector<Unit> text(rng() % 80);
    const bool mostly_ascii = round % 2 == 0;
    for (Unit& u : text)
      u = mostly_ascii && rng() % 8 ? static_cast<Unit>('A' + rng() % 58)
                                    : alphabet[rng() % alphabet.size()];
    for (qp::Case to : kBoth) {
      std::vector<Unit> want = text, copied(text.size()), in_place = text;
      qp::map_case(want.data(), want.size(), to);
      qe::WideCaseTable::of(to).map(text.data(), copied.data(), text.size());
      qe::WideCaseTable::of(to).map(in_place.data(), in_place.data(), text.size());
      ASSERT_EQ(copied, want) << "round " << round;
      ASSERT_EQ(in_place, want) << "round " << round;
    }
  }
}

}  // namespace
