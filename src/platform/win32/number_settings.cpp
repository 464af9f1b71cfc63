// The user's number settings on Windows: the user locale's separators and
// currency layout, read once while the DLL loads.
#include "platform/number_settings.hpp"

#include <windows.h>

#include <algorithm>

namespace quarnel::platform {
namespace {

// A numeric locale value, or -1 when the locale does not answer.
int locale_number(LCTYPE type) noexcept {
  DWORD value = 0;
  if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, type | LOCALE_RETURN_NUMBER,
                      reinterpret_cast<LPWSTR>(&value), sizeof value / sizeof(WCHAR)))
    return -1;
  return static_cast<int>(value);
}

// A locale string into `out` (room for `room` units); returns its length,
// 0 when the locale does not answer or the text is longer.
std::size_t locale_text(LCTYPE type, wchar* out, std::size_t room) noexcept {
  WCHAR text[16];
  int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 16);
  if (n <= 1 || static_cast<std::size_t>(n - 1) > room) return 0;
  std::copy(text, text + n - 1, out);
  return static_cast<std::size_t>(n - 1);
}

NumberSettings read_settings() noexcept {
  NumberSettings s;
  wchar units[8];
  // Separators are single characters to the number formatters; a longer
  // setting contributes its first one.
  if (locale_text(LOCALE_SDECIMAL, units, 8)) s.decimal = units[0];
  s.thousands = locale_text(LOCALE_STHOUSAND, units, 8) ? units[0] : wchar{0};
  if (std::size_t n = locale_text(LOCALE_SCURRENCY, s.currency, 8))
    s.currency_length = static_cast<std::uint8_t>(n);
  int v = locale_number(LOCALE_ICURRENCY);
  if (v >= 0 && v <= 3) s.currency_format = static_cast<std::uint8_t>(v);
  v = locale_number(LOCALE_INEGCURR);
  if (v >= 0 && v <= 15) s.negative_currency_format = static_cast<std::uint8_t>(v);
  v = locale_number(LOCALE_ICURRDIGITS);
  if (v >= 0 && v <= 9) s.currency_decimals = static_cast<std::uint8_t>(v);
  return s;
}

// Nothing else in this file runs at load, so no ordering question arises.
const NumberSettings kSettings = read_settings();

}  // namespace

const NumberSettings& number_settings() noexcept { return kSettings; }

}  // namespace quarnel::platform
