// Floating-point conversions, as C99 printf writes them on every platform.
//
// A binary floating-point value has a finite decimal expansion: a double
// never has more than 1074 digits after the point, nor more significant
// digits than that. Digits asked for beyond that are zeros, so they are
// counted rather than computed: a precision of INT_MAX costs no more than
// one of 1074, and only its length can make the text too long to store.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include "convert/printf_writers.hpp"
#include "convert/text_buffer.hpp"

namespace quarnel::convert {
namespace {

template <class Float>
struct ExactDigits {
  using limits = std::numeric_limits<Float>;
  // The most digits after the point (or significant digits) a value can need.
  static constexpr std::int64_t decimal = limits::digits - limits::min_exponent;
  // The most hexadecimal digits after the point.
  static constexpr std::int64_t hexadecimal = (limits::digits + 3) / 4 + 1;
  // The most digits before the point.
  static constexpr std::size_t integer = limits::max_exponent10 + 2;
};

// The digits of a value, without its sign: what to_chars wrote, and how many
// zeros the requested precision adds before the exponent.
struct FloatText {
  TextBuffer<char, 512> chars;
  std::uint64_t trailing_zeros = 0;
  char exponent_mark = 'e';  // 'p' for hexadecimal, whose digits hold 'e'

  std::string_view view() const noexcept { return {chars.data(), chars.size()}; }
  // Where the exponent ("e+05", "p-3") starts; the end when there is none.
  std::size_t exponent_at() const noexcept {
    std::string_view v = view();
    return std::min(v.size(), v.find(exponent_mark));
  }
};

// The digits with `precision` digits after the point in `format`; digits
// beyond `exact` are counted as trailing zeros instead of written.
template <class Float>
void convert(FloatText& text, Float value, std::chars_format format, std::int64_t precision,
             std::int64_t exact) {
  const std::int64_t written = std::min(precision, exact);
  text.trailing_zeros = static_cast<std::uint64_t>(precision - written);
  // Room for every integer digit, the point, the digits and an exponent.
  const std::size_t room = ExactDigits<Float>::integer + static_cast<std::size_t>(written) + 16;
  text.chars.truncate(0);
  char* at = text.chars.extend(room);
  auto result = std::to_chars(at, at + room, value, format, static_cast<int>(written));
  text.chars.truncate(static_cast<std::size_t>(result.ptr - at));
}

// The decimal exponent of a scientific text "d.ddde+XX".
int exponent_of(std::string_view scientific) {
  std::size_t mark = scientific.find('e');
  int x = 0;
  if (mark + 1 < scientific.size()) {
    const char* from = scientific.data() + mark + 1;
    std::from_chars(from + (*from == '+'), scientific.data() + scientific.size(), x);
  }
  return x;
}

template <class Float>
void digits_of(FloatText& text, const Conversion& conv, Float value) {
  using Exact = ExactDigits<Float>;
  const unsigned kind = conv.letter | 0x20;
  const std::int64_t precision = conv.precision;
  if (kind == 'a') {
    text.exponent_mark = 'p';
    if (precision >= 0) {
      convert(text, value, std::chars_format::hex, precision, Exact::hexadecimal);
    } else {  // as many digits as the value needs
      const std::size_t room = Exact::hexadecimal + 32;
      char* at = text.chars.extend(room);
      auto result = std::to_chars(at, at + room, value, std::chars_format::hex);
      text.chars.truncate(static_cast<std::size_t>(result.ptr - at));
    }
  } else if (kind == 'f') {
    convert(text, value, std::chars_format::fixed, precision < 0 ? 6 : precision, Exact::decimal);
  } else if (kind == 'e') {
    convert(text, value, std::chars_format::scientific, precision < 0 ? 6 : precision,
            Exact::decimal);
  } else if (!conv.alt) {  // 'g'
    // Trailing zeros are dropped, so digits beyond the exact ones never show.
    const std::int64_t p = precision < 0 ? 6 : precision == 0 ? 1 : precision;
    convert(text, value, std::chars_format::general, p, Exact::decimal);
    text.trailing_zeros = 0;
  } else {
    // '#' keeps the trailing zeros: choose between the two forms as %g
    // does, from the exponent of the scientific form.
    const std::int64_t p = precision < 0 ? 6 : precision == 0 ? 1 : precision;
    convert(text, value, std::chars_format::scientific, p - 1, Exact::decimal);
    const int x = exponent_of(text.view());
    if (x < p && x >= -4) convert(text, value, std::chars_format::fixed, p - 1 - x, Exact::decimal);
  }
}

}  // namespace

template <class Unit, class Float>
void write_floating(Output<Unit>& out, const Conversion& conv, Float value) {
  const bool upper = conv.letter >= 'A' && conv.letter <= 'Z';
  char prefix[3];
  std::size_t prefix_length = 0;
  if (std::signbit(value))
    prefix[prefix_length++] = '-';
  else if (conv.plus)
    prefix[prefix_length++] = '+';
  else if (conv.space)
    prefix[prefix_length++] = ' ';
  const Float magnitude = std::fabs(value);
  NumberLayout layout;
  if (!std::isfinite(magnitude)) {
    layout.prefix = {prefix, prefix_length};
    layout.digits = std::isnan(magnitude) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
    layout.zero_pad_allowed = false;
    write_padded(out, conv, layout);
    return;
  }
  if ((conv.letter | 0x20) == 'a') {
    prefix[prefix_length++] = '0';
    prefix[prefix_length++] = upper ? 'X' : 'x';
  }
  FloatText text;
  digits_of(text, conv, magnitude);
  std::size_t exponent = text.exponent_at();
  if (conv.alt && text.view().substr(0, exponent).find('.') == std::string_view::npos) {
    // '#': a decimal point even without digits after it.
    text.chars.insert(exponent, '.');
    ++exponent;
  }
  if (upper) text.chars.to_ascii_upper();
  std::string_view all = text.view();
  layout.prefix = {prefix, prefix_length};
  layout.digits = all.substr(0, exponent);
  layout.trailing_zeros = text.trailing_zeros;
  layout.exponent = all.substr(exponent);
  write_padded(out, conv, layout);
}

template void write_floating(Output<char>&, const Conversion&, double);
template void write_floating(Output<core::wchar>&, const Conversion&, double);
#if !defined(_WIN32)
template void write_floating(Output<char>&, const Conversion&, long double);
template void write_floating(Output<core::wchar>&, const Conversion&, long double);
#endif

}  // namespace quarnel::convert
