// The user's number settings on POSIX: how a locale's conventions become the
// library's settings (the Windows numbering of the currency layouts). That
// the process takes them from the environment's locale is checked by the
// run of the number tests under a German locale.
#include <string>

#include "platform/posix/number_settings.hpp"
#include "support.hpp"

using quarnel::platform::NumberSettings;

namespace {

// The settings of a named locale as one comparable text: separators,
// symbol, layouts (the negative one as a letter) and decimals; "" when the
// locale is not installed.
std::u16string settings_of(const char* name) {
  locale_t loc = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
  if (!loc) return u"";
  const NumberSettings s = quarnel::platform::posix::settings_from_locale(loc);
  freelocale(loc);
  return std::u16string{s.decimal, s.thousands, u'|'} +
         std::u16string(s.currency_symbol().begin(), s.currency_symbol().end()) +
         std::u16string{u'|', static_cast<char16_t>('0' + s.currency_format),
                        static_cast<char16_t>('a' + s.negative_currency_format),
                        static_cast<char16_t>('0' + s.currency_decimals)};
}

}  // namespace

TEST(PosixNumberSettings, LocaleConventionsBecomeWindowsLayouts) {
  // The C locale sets nothing, so the defaults stand; German amounts are
  // "1.234,50 €" (layout 3) and "-1.234,50 €" (layout 8).
  EXPECT_EQ(settings_of("C"), u".,|\u00a4|0a2");
  EXPECT_EQ(settings_of("de_DE.UTF-8"), u",.|\u20ac|3i2")
      << "de_DE.UTF-8 missing? tools/setup.sh generates it";
}
