#include "convert/int_text.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "convert/text_buffer.hpp"
#include "core/handle.hpp"
#include "quarnel/errors.hpp"

namespace quarnel::convert {

std::size_t hex_text(char* buf, std::int32_t value, int digits, std::size_t* zeros) noexcept {
  auto bits = static_cast<std::uint32_t>(value);
  char reversed[8];
  std::size_t n = 0;
  do reversed[n++] = "0123456789ABCDEF"[bits & 15];
  while ((bits >>= 4) != 0);
  std::reverse_copy(reversed, reversed + n, buf);
  *zeros = digits > 0 && static_cast<std::size_t>(digits) > n ? digits - n : 0;
  return n;
}

namespace {

int digit_value(unsigned c) noexcept {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return 99;
}

bool is_c_space(unsigned c) noexcept { return c == ' ' || (c >= '\t' && c <= '\r'); }

template <class Unit>
unsigned unit_at(std::basic_string_view<Unit> text, std::size_t i) noexcept {
  if constexpr (sizeof(Unit) == 1)
    return static_cast<unsigned char>(text[i]);
  else
    return static_cast<unsigned>(text[i]);
}

[[noreturn]] void invalid_integer(std::string_view text) {
  // The message quotes at most 200 bytes of the text.
  std::string message = "'";
  message.append(text.substr(0, 200));
  message += "' is not a valid integer value";
  throw EConvertError(message);
}

[[noreturn]] void invalid_integer(core::wstring_view text) {
  core::AnsiStr ansi = core::to_ansi(text.substr(0, 200));
  invalid_integer(ansi.view());
}

// Reads digits of `Base` from i on, wrapping at 32 bits. Returns how many.
// Decimal digits are told by one unsigned comparison.
template <unsigned Base, class Unit>
std::size_t read_digits(std::basic_string_view<Unit> text, std::size_t& i,
                        std::uint32_t& value) noexcept {
  std::size_t start = i;
  for (; i < text.size(); ++i) {
    unsigned d =
        Base == 10 ? unit_at(text, i) - '0' : static_cast<unsigned>(digit_value(unit_at(text, i)));
    if (d >= Base) break;
    value = value * Base + d;
  }
  return i - start;
}

// White space, then an optional sign; returns whether it was '-'.
template <class Unit>
bool skip_space_and_sign(std::basic_string_view<Unit> text, std::size_t& i) noexcept {
  while (i < text.size() && is_c_space(unit_at(text, i))) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) return text[i++] == '-';
  return false;
}

}  // namespace

template <class Unit>
std::int32_t str_to_int(std::basic_string_view<Unit> text) {
  std::size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  // Hexadecimal takes any 32-bit pattern; decimal the signed 32-bit range.
  std::uint64_t limit = base == 16 ? 0xFFFFFFFFu : negative ? 0x80000000u : 0x7FFFFFFFu;
  std::uint64_t value = 0;
  std::size_t start = i;
  for (int d; i < n && (d = digit_value(unit_at(text, i))) < base; ++i) {
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (value > limit) invalid_integer(text);
  }
  if (i == start || i != n) invalid_integer(text);
  auto bits = static_cast<std::uint32_t>(value);
  return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

template <class Unit>
Scan scan_int(std::basic_string_view<Unit> text, std::int32_t& value) noexcept {
  std::size_t i = 0;
  bool negative = skip_space_and_sign(text, i);
  std::uint32_t bits = 0;
  if (read_digits<10>(text, i, bits) == 0) return {};
  value = static_cast<std::int32_t>(negative ? 0u - bits : bits);
  return {true, i};
}

template <class Unit>
Scan scan_hex(std::basic_string_view<Unit> text, std::uint32_t& value) noexcept {
  std::size_t i = 0;
  bool negative = skip_space_and_sign(text, i);
  // "0x" belongs to the number only when a digit follows it.
  if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
      digit_value(unit_at(text, i + 2)) < 16)
    i += 2;
  std::uint32_t bits = 0;
  if (read_digits<16>(text, i, bits) == 0) return {};
  value = negative ? 0u - bits : bits;
  return {true, i};
}

template <class Unit>
Scan scan_double(std::basic_string_view<Unit> text, double& value) {
  std::size_t i = 0;
  bool negative = skip_space_and_sign(text, i);
  // Numbers are ASCII; wide text lends its leading ASCII run as bytes.
  TextBuffer<char, 64> narrow;
  std::string_view rest;
  if constexpr (sizeof(Unit) == 1) {
    rest = text.substr(i);
  } else {
    for (std::size_t k = i; k < text.size() && unit_at(text, k) - 1 < 0x7F; ++k)
      narrow.push(static_cast<char>(text[k]));
    rest = narrow.view();
  }
  const char* b = rest.data();
  const char* e = b + rest.size();
  if (b == e || *b == '+' || *b == '-') return {};
  double v = 0;
  std::from_chars_result r;
  if (e - b > 2 && b[0] == '0' && (b[1] == 'x' || b[1] == 'X')) {
    r = std::from_chars(b + 2, e, v, std::chars_format::hex);
    if (r.ptr == b + 2) r = std::from_chars(b, b + 1, v);  // only the "0"
  } else {
    r = std::from_chars(b, e, v);
  }
  if (r.ptr == b) return {};
  if (r.ec == std::errc::result_out_of_range) {
    // Beyond the range of a double: infinity or zero, as strtod gives.
    std::string_view t(b, static_cast<std::size_t>(r.ptr - b));
    bool hex = t.size() > 1 && (t[1] == 'x' || t[1] == 'X');
    std::size_t mark = t.find_first_of(hex ? "pP" : "eE");
    bool tiny = mark != std::string_view::npos
                    ? mark + 1 < t.size() && t[mark + 1] == '-'
                    : t.find_first_of(hex ? "123456789abcdefABCDEF" : "123456789") > t.find('.');
    v = tiny ? 0.0 : HUGE_VAL;
  }
  value = negative ? -v : v;
  return {true, i + static_cast<std::size_t>(r.ptr - b)};
}

template std::int32_t str_to_int(std::string_view);
template std::int32_t str_to_int(core::wstring_view);
template Scan scan_int(std::string_view, std::int32_t&) noexcept;
template Scan scan_int(core::wstring_view, std::int32_t&) noexcept;
template Scan scan_hex(std::string_view, std::uint32_t&) noexcept;
template Scan scan_hex(core::wstring_view, std::uint32_t&) noexcept;
template Scan scan_double(std::string_view, double&);
template Scan scan_double(core::wstring_view, double&);

}  // namespace quarnel::convert
