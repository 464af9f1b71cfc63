// Strings and characters. Text of the other family is converted through the
// ANSI code page; a precision then cuts the converted text, never inside a
// character.
#include <algorithm>
#include <string>
#include <type_traits>

#include "convert/printf_writers.hpp"
#include "convert/text_buffer.hpp"
#include "core/char_rules.hpp"
#include "platform/platform.hpp"

namespace quarnel::convert {
namespace {

using core::wchar;

void convert_into(TextBuffer<wchar>& to, const char* s, std::size_t n) {
  std::size_t k = platform::ansi_to_utf16(s, n, nullptr);
  platform::ansi_to_utf16(s, n, to.extend(k));
}
void convert_into(TextBuffer<char>& to, const wchar* s, std::size_t n) {
  std::size_t k = platform::utf16_to_ansi(s, n, nullptr);
  platform::utf16_to_ansi(s, n, to.extend(k));
}

// The longest start of a converted text that fits in `limit` units without
// splitting a character.
std::size_t whole_characters(const wchar* s, std::size_t n, std::size_t limit) {
  if (n <= limit) return n;
  return limit > 0 && s[limit - 1] >= 0xD800 && s[limit - 1] < 0xDC00 ? limit - 1 : limit;
}
std::size_t whole_characters(const char* s, std::size_t n, std::size_t limit) {
  if (n <= limit) return n;
  const bool utf8 = platform::ansi_code_page() == 65001;
  const auto* bytes = reinterpret_cast<const unsigned char*>(s);
  std::size_t i = 0;
  while (i < limit) {
    const std::size_t step =
        utf8 ? chars::utf8_step(bytes + i, n - i).length
             : chars::double_byte_length(platform::is_lead_byte(bytes[i]), bytes + i, n - i);
    if (i + step > limit) break;
    i += step;
  }
  return i;
}

// The most units a precision lets through.
std::size_t limit_of(const Conversion& conv) noexcept {
  return conv.precision < 0 || static_cast<std::uint64_t>(conv.precision) > SIZE_MAX
             ? SIZE_MAX
             : static_cast<std::size_t>(conv.precision);
}

}  // namespace

template <class Unit, class Source>
void write_string(Output<Unit>& out, const Conversion& conv, const Source* text) {
  const std::size_t limit = limit_of(conv);
  if (!text) {
    static constexpr Unit null_text[] = {'(', 'n', 'u', 'l', 'l', ')'};
    write_padded(out, conv, null_text, std::min<std::size_t>(6, limit));
  } else if constexpr (std::is_same_v<Unit, Source>) {
    std::size_t n = 0;
    while (n < limit && text[n]) ++n;
    write_padded(out, conv, text, n);
  } else {
    TextBuffer<Unit> converted;
    convert_into(converted, text, std::char_traits<Source>::length(text));
    write_padded(out, conv, converted.data(),
                 whole_characters(converted.data(), converted.size(), limit));
  }
}

template <class Unit>
void write_character(Output<Unit>& out, const Conversion& conv, unsigned value, bool wide) {
  if (wide == (sizeof(Unit) == sizeof(wchar))) {
    auto u = static_cast<Unit>(value);
    write_padded(out, conv, &u, 1);
    return;
  }
  TextBuffer<Unit> converted;
  if constexpr (sizeof(Unit) == 1) {
    auto w = static_cast<wchar>(value);
    convert_into(converted, &w, 1);
  } else {
    auto c = static_cast<char>(value);
    convert_into(converted, &c, 1);
  }
  write_padded(out, conv, converted.data(), converted.size());
}

template void write_string(Output<char>&, const Conversion&, const char*);
template void write_string(Output<char>&, const Conversion&, const wchar*);
template void write_string(Output<wchar>&, const Conversion&, const char*);
template void write_string(Output<wchar>&, const Conversion&, const wchar*);
template void write_character(Output<char>&, const Conversion&, unsigned, bool);
template void write_character(Output<wchar>&, const Conversion&, unsigned, bool);

}  // namespace quarnel::convert
