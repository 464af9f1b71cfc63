// The user's number settings on POSIX: how a locale's conventions become the
// library's settings, and the settings the process reads from its
// environment, end to end through the exports. tests/CMakeLists.txt runs the
// suite a second time under a German locale and names it in
// QUARNEL_EXPECT_LOCALE.
#include <cstdlib>
#include <cstring>

#include "platform/posix/number_settings.hpp"
#include "support.hpp"

using qtest::wstr;
using quarnel::platform::NumberSettings;
using quarnel::platform::posix::settings_from_locale;

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

TEST(PosixNumberSettings, TheProcessReadsTheEnvironmentsLocale) {
  bool found = false;
  NumberSettings expected = settings_of("", &found);
  // A locale the environment names but the system lacks reads as plain C.
  if (!found) expected = settings_of("C", &found);
  EXPECT_TRUE(same(quarnel::platform::number_settings(), expected));
}
