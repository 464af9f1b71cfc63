#include "convert/numbers.hpp"

#include <algorithm>

#include "convert/float_format.hpp"
#include "convert/formatted.hpp"
#include "convert/int_text.hpp"
#include "core/access.hpp"

namespace quarnel::convert {

using namespace core;

namespace {

template <class Str>
Str from_ascii(std::string_view text) {
  if constexpr (std::is_same_v<Str, AnsiStr>) {
    return AnsiStr::copy(text);
  } else {
    WideStr s(text.size());
    std::copy(text.begin(), text.end(), s.data());
    return s;
  }
}

// Number text is built in UTF-16; the A family stores it in the ANSI code
// page (plain ASCII, the usual case, needs no conversion).
template <class Str>
Str from_number_text(WideView text) {
  if constexpr (std::is_same_v<Str, AnsiStr>) {
    if (std::any_of(text.begin(), text.end(), [](wchar c) { return c > 0x7F; }))
      return to_ansi(text);
    AnsiStr s(text.size());
    std::copy(text.begin(), text.end(), s.data());
    return s;
  } else {
    return WideStr::copy(text);
  }
}

// AnsiCompareText / _wcsnicmp of the first two characters with "0x". Two
// characters compare equal to "0x" without regard to case only when they
// are '0' and 'x' or 'X', so the test needs no locale tables.
template <class View>
bool hex_prefixed(View text) noexcept {
  return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// Digits are ASCII, the same in every code page: both families write them
// straight into the result's payload.
template <class Str, class Int>
Str decimal_str(Int value) {
  const std::size_t length = decimal_length(value);
  Str s(length);
  write_decimal(s.data(), value, length);
  return s;
}

template <class Rec>
auto* append_decimal(Rec& h, std::int64_t value) {
  typename FamilyOf<Rec>::Str::Char units[kMaxDecimal];
  append_text(h, std::basic_string_view(units, write_decimal(units, value)));
  return h.payload;
}

}  // namespace

template <class Str>
Str int64_text(std::int64_t value) {
  return decimal_str<Str>(value);
}

template <class Str>
Str uint64_text(std::uint64_t value) {
  return decimal_str<Str>(value);
}

template <class Str>
Str double_text(double value, const NumberSettings& settings) {
  // One formatter for both families: the text is the same.
  NumberText text;
  float_to_text(text, value, settings);
  return from_number_text<Str>(text.view());
}

template <class Str>
Str hex_str(std::int32_t value, int digits) {
  char buf[8];
  std::size_t zeros = 0;
  std::size_t n = hex_text(buf, value, digits, &zeros);
  Str s(zeros + n);
  std::fill_n(s.data(), zeros, '0');
  std::copy(buf, buf + n, s.data() + zeros);
  return s;
}

template <class Str>
Str float_to_str_f(double value, std::int32_t format, int precision, int digits,
                   const NumberSettings& settings) {
  NumberText text;
  float_to_text(text, value, static_cast<unsigned>(format) & 0xFF, precision, digits, settings);
  return from_number_text<Str>(text.view());
}

template <class Rec>
Rec* format_float_handle(const Rec& format, double value, const NumberSettings& settings) {
  using Str = typename FamilyOf<Rec>::Str;
  NumberText text;
  auto picture = view_of(format);
  picture = picture.substr(0, picture.find(CharOf<Rec>{0}));
  if constexpr (std::is_same_v<Rec, WRec>) {
    if (!format.payload) return new_handle(from_ascii<Str>("#error#"));
    format_float(text, picture, value, settings);
  } else {
    WideStr wide = to_wide(picture);
    format_float(text, wide.view(), value, settings);
  }
  return new_handle(from_number_text<Str>(text.view()));
}

template <class Rec>
std::int32_t to_int(const Rec& h) {
  auto text = view_of(h);
  if (hex_prefixed(text)) {
    // The digits after the prefix are read as far as they go; text after
    // them, or no digits at all, is not an error.
    std::uint32_t value = 0;
    scan_hex(text.substr(2), value);
    return static_cast<std::int32_t>(value);
  }
  return str_to_int(text);
}

template <class Rec>
std::int32_t to_int_def(const Rec& h, std::int32_t default_value) noexcept {
  auto text = view_of(h);
  if (std::is_same_v<Rec, WRec> && text.empty()) return default_value;
  if (hex_prefixed(text)) {
    std::uint32_t value = 0;
    Scan s = scan_hex(text.substr(2), value);
    return s.converted && s.consumed == text.size() - 2 ? static_cast<std::int32_t>(value)
                                                        : default_value;
  }
  std::int32_t value = 0;
  Scan s = scan_int(text, value);
  return s.converted && s.consumed == text.size() ? value : default_value;
}

template <class Rec>
double to_double_def(const Rec& h, double default_value) {
  auto text = view_of(h);
  if (std::is_same_v<Rec, WRec> && text.empty()) return default_value;
  double value = 0.0;
  Scan s = scan_double(text, value);
  return s.converted && s.consumed == text.size() ? value : default_value;
}

char* append_int(ARec& h, std::int32_t value) { return append_decimal(h, value); }
wchar* append_int(WRec& h, std::int32_t value) { return append_decimal(h, value); }

template AnsiStr int64_text(std::int64_t);
template WideStr int64_text(std::int64_t);
template AnsiStr uint64_text(std::uint64_t);
template WideStr uint64_text(std::uint64_t);
template AnsiStr double_text(double, const NumberSettings&);
template WideStr double_text(double, const NumberSettings&);
template AnsiStr hex_str(std::int32_t, int);
template WideStr hex_str(std::int32_t, int);
template AnsiStr float_to_str_f(double, std::int32_t, int, int, const NumberSettings&);
template WideStr float_to_str_f(double, std::int32_t, int, int, const NumberSettings&);
template ARec* format_float_handle(const ARec&, double, const NumberSettings&);
template WRec* format_float_handle(const WRec&, double, const NumberSettings&);
template std::int32_t to_int(const ARec&);
template std::int32_t to_int(const WRec&);
template std::int32_t to_int_def(const ARec&, std::int32_t) noexcept;
template std::int32_t to_int_def(const WRec&, std::int32_t) noexcept;
template double to_double_def(const ARec&, double);
template double to_double_def(const WRec&, double);

}  // namespace quarnel::convert
