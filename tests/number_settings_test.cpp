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
  // The euro sign through code page 1252; the rest of number output under
  // these settings is checked by the number tests this run repeats.
  EXPECT_EQ(text(HA(LStrFloatToStrFA(-1234.5, 4, 15, 2)).get()), "-1.234,50 \x80");
}
