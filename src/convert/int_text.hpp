// Integers as text and back: the decimal forms of the C runtime's itoa
// family, the runtime's IntToHex and StrToInt, and the sscanf conversions
// the default-taking readers use ("%d%n", "%X%n", "%lf%n").
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quarnel::convert {

// The longest decimal form of a 64-bit value, sign included.
inline constexpr std::size_t kMaxDecimal = 20;

namespace detail {
// Powers of ten up to 10^19, and the two digits of every number below 100.
// At namespace scope, so they live once in read-only data rather than being
// built on the stack at each call.
inline constexpr auto kPowersOfTen = [] {
  std::array<std::uint64_t, 20> p{1};
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
  return p;
}();
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";
}  // namespace detail

// Units in the decimal form of `value`, a leading '-' included.
// Without dividing: the bit width gives the digit count to within one
// (1233 / 4096 is just over log10(2)), one comparison settles it.
constexpr std::size_t decimal_length(std::uint64_t value) noexcept {
  const std::size_t guess = (static_cast<std::size_t>(std::bit_width(value | 1)) * 1233) >> 12;
  return guess + 1 - ((value | 1) < detail::kPowersOfTen[guess]);
}
constexpr std::size_t decimal_length(std::int64_t value) noexcept {
  // The magnitude in unsigned arithmetic, so the smallest value negates too.
  return value < 0 ? 1 + decimal_length(0 - static_cast<std::uint64_t>(value))
                   : decimal_length(static_cast<std::uint64_t>(value));
}

// Writes the digits of `value` so that they end just before `end` and
// returns where they begin. Two digits per step, from the end; a value wider
// than 32 bits first gives up groups of eight digits, so that the steps run
// on 32-bit numbers, whose divisions by constants are cheaper.
template <class Unit>
Unit* write_digits_before(Unit* end, std::uint64_t value) noexcept {
  Unit* p = end;
  auto put_pair = [&p](std::uint32_t pair) {
    *--p = static_cast<Unit>(detail::kDigitPairs[2 * pair + 1]);
    *--p = static_cast<Unit>(detail::kDigitPairs[2 * pair]);
  };
  for (; value > 0xFFFFFFFFu; value /= 100000000) {
    auto group = static_cast<std::uint32_t>(value % 100000000);
    for (int k = 0; k < 4; ++k, group /= 100) put_pair(group % 100);
  }
  auto rest = static_cast<std::uint32_t>(value);
  for (; rest >= 100; rest /= 100) put_pair(rest % 100);
  if (rest >= 10)
    put_pair(rest);
  else
    *--p = static_cast<Unit>('0' + rest);
  return p;
}

// Writes the decimal form of `value` into out[0, length), in units of either
// family, and returns `length`, which must be decimal_length(value): a caller
// that sized the result's own payload with it fills the payload directly.
template <class Unit>
std::size_t write_decimal(Unit* out, std::uint64_t value, std::size_t length) noexcept {
  write_digits_before(out + length, value);
  return length;
}
template <class Unit>
std::size_t write_decimal(Unit* out, std::int64_t value, std::size_t length) noexcept {
  // The magnitude in unsigned arithmetic, so the smallest value negates too.
  const auto magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  Unit* first = write_digits_before(out + length, magnitude);
  if (value < 0) first[-1] = static_cast<Unit>('-');
  return length;
}
template <class Unit, class Int>
std::size_t write_decimal(Unit* out, Int value) noexcept {
  return write_decimal(out, value, decimal_length(value));
}

// IntToHex: upper-case digits of the 32-bit two's complement pattern,
// zero-padded on the left to at least `digits` digits, no prefix. Writes at
// most 8 digits into `buf`; the padding count is returned in *zeros.
std::size_t hex_text(char* buf, std::int32_t value, int digits, std::size_t* zeros) noexcept;

// StrToInt: optional spaces, an optional sign, then decimal digits within
// the 32-bit range or hexadecimal digits after "$", "x" or "0x" within 32
// bits. Anything else, the empty text included, throws EConvertError.
template <class Unit>
std::int32_t str_to_int(std::basic_string_view<Unit> text);

// sscanf with one numeric conversion followed by "%n", in the C locale:
// leading white space is skipped and counted, then the longest prefix that
// forms a number is read. `converted` says whether the conversion succeeded
// and `consumed` how many characters it took, the white space included.
struct Scan {
  bool converted = false;
  std::size_t consumed = 0;
};
// "%d": an optional sign and decimal digits; larger values wrap to 32 bits.
template <class Unit>
Scan scan_int(std::basic_string_view<Unit> text, std::int32_t& value) noexcept;
// "%X": an optional sign, an optional "0x", hexadecimal digits; larger
// values wrap to 32 bits.
template <class Unit>
Scan scan_hex(std::basic_string_view<Unit> text, std::uint32_t& value) noexcept;
// "%lf": the C floating forms (decimal, hexadecimal, infinity, NaN) with
// "." as the decimal point.
template <class Unit>
Scan scan_double(std::basic_string_view<Unit> text, double& value);

}  // namespace quarnel::convert
