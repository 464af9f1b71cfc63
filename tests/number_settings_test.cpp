// Number text under the process's own regional settings, end to end through
// the exports. tests/CMakeLists.txt runs the number tests a second time under
// a German locale and names it in QUARNEL_EXPECT_LOCALE; on Windows, Wine
// takes the user locale from the same environment.
#include "platform/number_settings.hpp"

#include <cstdlib>
#include <cstring>

#include "support.hpp"

using namespace qtest;

TEST(ProcessNumberSettings, FollowTheUsersLocale) {
  const char* expected = std::getenv("QUARNEL_EXPECT_LOCALE");
  if (!expected) GTEST_SKIP() << "checked in the run under a named locale";
  ASSERT_STREQ(expected, "de_DE.UTF-8");
  const auto& s = quarnel::platform::number_settings();
  EXPECT_EQ(s.decimal, ',');
  EXPECT_EQ(s.thousands, '.');
  // Number output in the user's separators, the euro sign in code page 1252.
  EXPECT_EQ(text(HA(LStrAllocFromDoubleA(1234.5)).get()), "1234,5");
  EXPECT_EQ(text(HW(LStrAllocFromDoubleW(-1.5e-7)).get()), QW("-1,5E-7"));
  EXPECT_EQ(text(HA(LStrFloatToStrFA(-1234.5, 4, 15, 2)).get()), "-1.234,50 \x80");
  EXPECT_EQ(text(HW(LStrFloatToStrFW(1234567.5, 3, 15, 1)).get()), QW("1.234.567,5"));
  double v = 1234.5;
  EXPECT_EQ(text(HA(LStrFormatFloatA(make_a("#,##0.00").get(), &v)).get()), "1.234,50");
  // Reading always takes '.', and printf ignores the regional settings.
  EXPECT_EQ(LStrToDoubleDefA(make_a("1.5").get(), -1), 1.5);
  EXPECT_EQ(LStrToDoubleDefW(make_w(QW("1,5")).get(), -1), -1);
  HA a(LStrAllocA());
  _LStrSprintfA(a.get(), "%.1f|%g", 1.5, 0.25);
  EXPECT_EQ(text(a.get()), "1.5|0.25");
}
