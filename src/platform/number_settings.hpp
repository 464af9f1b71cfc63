// The user's regional number settings: the separators and the currency
// layout that number output follows. Read once while the library loads and
// never changed afterwards.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/platform.hpp"

namespace quarnel::platform {

// The defaults are the conventions of no particular country; they stand
// wherever the user's settings say nothing.
struct NumberSettings {
  wchar decimal = '.';         // decimal separator
  wchar thousands = ',';       // thousands separator; 0 when the user has none
  wchar currency[8] = {0xA4};  // the currency symbol (here the generic sign)
  std::uint8_t currency_length = 1;
  // Where the symbol goes for positive amounts (0 "$1", 1 "1$", 2 "$ 1",
  // 3 "1 $") and for negative ones (0 "($1)" ... 15 "(1 $)"), numbered as
  // the Windows locale values LOCALE_ICURRENCY and LOCALE_INEGCURR are.
  std::uint8_t currency_format = 0;
  std::uint8_t negative_currency_format = 0;
  std::uint8_t currency_decimals = 2;

  std::basic_string_view<wchar> currency_symbol() const noexcept {
    return {currency, currency_length};
  }
};

// The settings of the process's user, fixed at load.
const NumberSettings& number_settings() noexcept;

}  // namespace quarnel::platform
