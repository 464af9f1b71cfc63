// The user's number settings on POSIX: how a locale's conventions become the
// library's settings, and the settings the process reads from its
// environment, end to end through the exports. tests/CMakeLists.txt runs the
// suite a second time under a German locale and names it in
// QUARNEL_EXPECT_LOCALE.
#include "platform/posix/number_settings.hpp"

#include <cstdlib>
#include <cstring>

#include "support.hpp"

using quarnel::platform::NumberSettings;
using quarnel::platform::posix::settings_from_locale;
using namespace qtest;

namespace {

NumberSettings settings_of(const char* name, bool* found) {
  locale_t loc = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
  *found = loc != nullptr;
  NumberSettings s = loc ? settings_from_locale(loc) : NumberSettings();
  if (loc) freelocale(loc);
  return s;
}

bool same(const NumberSettings& a, const NumberSettings& b) {
  return a.decimal == b.decimal && a.thousands == b.thousands &&
         a.currency_symbol() == b.currency_symbol() && a.currency_format == b.currency_format &&
         a.negative_currency_format == b.negative_currency_format &&
         a.currency_decimals == b.currency_decimals;
}

}  // namespace

TEST(PosixNumberSettings, LocaleConventionsBecomeWindowsLayouts) {
  struct Case {
    const char* locale;
    char16_t decimal, thousands;
    const char16_t* currency;
    int format, negative;
  } cases[] = {
      // The C locale sets nothing: the defaults stand.
      {"C", '.', ',', u"\u00a4", 0, 0},
      // "1.234,50 €" and "-1.234,50 €".
      {"de_DE.UTF-8", ',', '.', u"\u20ac", 3, 8},
  };
  for (const Case& c : cases) {
    bool found = false;
    NumberSettings s = settings_of(c.locale, &found);
    ASSERT_TRUE(found) << c.locale << " is not installed (tools/setup.sh generates it)";
    EXPECT_EQ(s.decimal, c.decimal) << c.locale;
    EXPECT_EQ(s.thousands, c.thousands) << c.locale;
    EXPECT_EQ(wstr(s.currency_symbol()), wstr(c.currency)) << c.locale;
    EXPECT_EQ(s.currency_format, c.format) << c.locale;
    EXPECT_EQ(s.negative_currency_format, c.negative) << c.locale;
    EXPECT_EQ(s.currency_decimals, 2) << c.locale;
  }
}

TEST(ProcessNumberSettings, FollowTheEnvironment) {
  const NumberSettings& process = quarnel::platform::number_settings();
  bool found = false;
  EXPECT_TRUE(same(process, settings_of("", &found)) || !found);
  const char* expected = std::getenv("QUARNEL_EXPECT_LOCALE");
  if (!expected) GTEST_SKIP() << "the run under a named locale checks the rest";
  ASSERT_STREQ(expected, "de_DE.UTF-8");
  EXPECT_EQ(process.decimal, u',');
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
