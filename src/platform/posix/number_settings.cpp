// The user's number settings on POSIX systems: the LC_NUMERIC and LC_MONETARY
// conventions of the locale the environment names, read through
// nl_langinfo_l so the process's own locale is never touched.
#include "platform/posix/number_settings.hpp"

#include <langinfo.h>

#include <algorithm>
#include <cstring>

#include "platform/posix/codepage.hpp"
#include "platform/posix/locale.hpp"

namespace quarnel::platform::posix {
namespace {

// Decodes a locale string (in the locale's own codeset) into `out`, which
// holds `room` units. Returns the number of units, 0 when the text does not
// fit or cannot be decoded.
std::size_t decode_locale_text(const char* text, locale_t loc, wchar* out,
                               std::size_t room) noexcept {
  std::size_t n = text ? std::strlen(text) : 0;
  if (n == 0) return 0;
  unsigned id = code_page_for_codeset(nl_langinfo_l(CODESET, loc));
  if (const CodePage* page = id ? find_code_page(id) : nullptr) {
    std::size_t units = decode(*page, text, n, nullptr);
    if (units > room) return 0;
    return decode(*page, text, n, out);
  }
  // An unknown codeset: plain ASCII is still safe to take.
  if (n > room || std::any_of(text, text + n, [](char c) { return (c & 0x80) != 0; })) return 0;
  std::copy(text, text + n, out);
  return n;
}

// The first unit of a one-character locale string, or 0.
wchar single_unit(nl_item item, locale_t loc) noexcept {
  wchar units[4];
  return decode_locale_text(nl_langinfo_l(item, loc), loc, units, 4) ? units[0] : wchar{0};
}

#if defined(__GLIBC__)
// glibc answers the localeconv() fields through nl_langinfo_l as well; a
// numeric field is the first byte of the answer, and an unset one (as in the
// C locale) is CHAR_MAX or 0xFF. Returns -1 for unset.
int small_number(nl_item item, locale_t loc) noexcept {
  const char* v = nl_langinfo_l(item, loc);
  int n = v ? static_cast<unsigned char>(v[0]) : 0xFF;
  return n < 10 ? n : -1;
}

// Windows numbers the negative layouts 0-15; POSIX describes them by three
// fields. Indexed by [symbol first][space][where the sign goes].
constexpr std::uint8_t kNegativeLayout[2][2][5] = {
    {{4, 5, 7, 6, 7}, {15, 8, 10, 13, 10}},  // symbol after the amount
    {{0, 1, 3, 1, 2}, {14, 9, 11, 9, 12}}};  // symbol before the amount

void read_monetary(NumberSettings& s, locale_t loc) noexcept {
  wchar symbol[8];
  if (std::size_t n = decode_locale_text(nl_langinfo_l(CURRENCY_SYMBOL, loc), loc, symbol, 8)) {
    std::copy(symbol, symbol + n, s.currency);
    s.currency_length = static_cast<std::uint8_t>(n);
  }
  int digits = small_number(FRAC_DIGITS, loc);
  if (digits >= 0) s.currency_decimals = static_cast<std::uint8_t>(digits);
  int p_first = small_number(P_CS_PRECEDES, loc), p_space = small_number(P_SEP_BY_SPACE, loc);
  if (p_first >= 0 && p_space >= 0)
    s.currency_format = static_cast<std::uint8_t>((p_first ? 0 : 1) + (p_space ? 2 : 0));
  int n_first = small_number(N_CS_PRECEDES, loc), n_space = small_number(N_SEP_BY_SPACE, loc);
  int n_sign = small_number(N_SIGN_POSN, loc);
  if (n_first >= 0 && n_space >= 0 && n_sign >= 0 && n_sign <= 4)
    s.negative_currency_format = kNegativeLayout[n_first != 0][n_space != 0][n_sign];
}
#else
// Elsewhere only CRNCYSTR is portable: the symbol after a '-' (it goes
// first), a '+' (it goes last) or a '.' (it replaces the decimal point).
void read_monetary(NumberSettings& s, locale_t loc) noexcept {
  const char* v = nl_langinfo_l(CRNCYSTR, loc);
  if (!v || (v[0] != '-' && v[0] != '+')) return;
  wchar symbol[8];
  if (std::size_t n = decode_locale_text(v + 1, loc, symbol, 8)) {
    std::copy(symbol, symbol + n, s.currency);
    s.currency_length = static_cast<std::uint8_t>(n);
    s.currency_format = v[0] == '-' ? 0 : 3;
    s.negative_currency_format = v[0] == '-' ? 1 : 8;
  }
}
#endif

const NumberSettings& process_settings() noexcept {
  static const NumberSettings settings = [] {
    // The user locale is another file's load-time object; should this one
    // be built first, open the environment's locale directly.
    locale_t loc = user_locale();
    locale_t own = nullptr;
    if (!loc) loc = own = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
    NumberSettings s = loc ? settings_from_locale(loc) : NumberSettings();
    if (own) freelocale(own);
    return s;
  }();
  return settings;
}

// Read while the library loads, before any export can run.
[[maybe_unused]] const NumberSettings& kProcessSettings = process_settings();

}  // namespace

NumberSettings settings_from_locale(locale_t loc) noexcept {
  NumberSettings s;
  if (wchar d = single_unit(RADIXCHAR, loc)) s.decimal = d;
  // The C locale has no thousands separator; grouping then uses the default
  // one, unless that would be mistaken for the decimal separator.
  s.thousands = single_unit(THOUSEP, loc);
  if (s.thousands == 0) s.thousands = s.decimal == ',' ? '.' : ',';
  read_monetary(s, loc);
  return s;
}

}  // namespace quarnel::platform::posix

namespace quarnel::platform {

const NumberSettings& number_settings() noexcept { return posix::process_settings(); }

}  // namespace quarnel::platform
