// Floating-point numbers as text, following the documented contracts of the
// runtime routines whose results the number exports reproduce: FloatToStr,
// FloatToStrF with its TFloatFormat codes, FormatFloat, and the runtime
// Format's "%g". All of them write UTF-16 and take the regional settings as
// an argument, so tests can run them under any settings.
#pragma once

#include <string_view>

#include "convert/text_buffer.hpp"
#include "core/wide_str.hpp"
#include "platform/number_settings.hpp"

namespace quarnel::convert {

using core::wchar;
using platform::NumberSettings;
using NumberText = TextBuffer<wchar>;
using WideView = std::basic_string_view<wchar>;

// The decimal digits of a finite, non-negative value after one rounding.
struct Decimal {
  char digits[24] = {};  // significant digits without trailing zeros; none for 0
  int count = 0;
  int exponent = 0;  // the value is 0.d1d2d3... x 10^exponent (0 for zero)
};

// Rounds `magnitude` to `significant` digits (1..18) and, when `decimals` is
// not negative, to at most that many digits after the decimal point. Halves
// round away from zero, as the runtime does (printf rounds them to even).
Decimal round_decimal(double magnitude, int significant, int decimals = -1);

// The TFloatFormat codes.
enum FloatFormat : unsigned { kGeneral = 0, kExponent = 1, kFixed = 2, kNumber = 3, kCurrency = 4 };

// FloatToStrF: `format` is a TFloatFormat code; codes above 4 give no text.
void float_to_text(NumberText& out, double value, unsigned format, int precision, int digits,
                   const NumberSettings& settings);

// FloatToStr: the general format with 15 significant digits.
inline void float_to_text(NumberText& out, double value, const NumberSettings& settings) {
  float_to_text(out, value, kGeneral, 15, 0, settings);
}

// FormatFloat: `picture` holds up to three sections of digit placeholders
// and literal text.
void format_float(NumberText& out, WideView picture, double value, const NumberSettings& settings);

// Writes "NAN", "INF" or "-INF" for a value that is not finite and returns
// true; returns false and writes nothing otherwise.
bool put_non_finite(NumberText& out, double value);

// The general format of a rounded value: fixed notation while the value has
// at most `precision` integer digits and is at least 0.0001, scientific
// notation ("1.5E-7", exponent sign only when negative, at least
// `exponent_digits` exponent digits) otherwise.
void put_general(NumberText& out, const Decimal& d, bool negative, int precision,
                 int exponent_digits, const NumberSettings& settings);

}  // namespace quarnel::convert
