// Integers as text and back: the decimal forms of the C runtime's itoa
// family, the runtime's IntToHex and StrToInt, and the sscanf conversions
// the default-taking readers use ("%d%n", "%X%n", "%lf%n").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quarnel::convert {

// The longest decimal form of a 64-bit value, sign included.
inline constexpr std::size_t kMaxDecimal = 20;

// Writes the decimal digits of `value` (with a leading '-' when negative)
// into `buf` and returns their count.
std::size_t decimal_text(char* buf, std::int64_t value) noexcept;
std::size_t decimal_text(char* buf, std::uint64_t value) noexcept;

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
