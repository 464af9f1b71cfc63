#include "platform/posix/case_map.hpp"

#include <wctype.h>

#include <cstring>
#include <initializer_list>

#include "core/char_rules.hpp"
#include "platform/posix/locale.hpp"

namespace quarnel::platform::posix {
namespace {

bool is_surrogate(char32_t c) noexcept { return c >= 0xD800 && c < 0xE000; }

char32_t map_code_point(char32_t c, Case to, locale_t locale) noexcept {
  const wint_t w = static_cast<wint_t>(c);
  return static_cast<char32_t>(to == Case::lower ? towlower_l(w, locale) : towupper_l(w, locale));
}

}  // namespace

AnsiCaseMap::AnsiCaseMap(const CodePage& page, locale_t locale) noexcept
    : page_(&page), locale_(locale), shape_(Shape::single_byte) {
  if (code_page_id(page) == 65001) shape_ = Shape::utf8;
  for (unsigned b = 0x80; b < 0x100; ++b)
    if (is_lead_byte(page, static_cast<unsigned char>(b))) shape_ = Shape::double_byte;
  for (Case to : {Case::lower, Case::upper}) {
    unsigned char* table = table_[static_cast<int>(to)];
    for (unsigned b = 0; b < 0x100; ++b) {
      auto byte = static_cast<unsigned char>(b);
      table[b] = byte;
      // Only bytes that are characters on their own: all of them in a
      // single-byte page, the non-lead bytes of a double-byte one, ASCII in
      // UTF-8.
      bool whole = shape_ == Shape::single_byte ||
                   (shape_ == Shape::double_byte ? !is_lead_byte(page, byte) : b < 0x80);
      if (whole) map_char(&byte, 1, to, &table[b]);
    }
  }
}

std::size_t AnsiCaseMap::char_length(const unsigned char* s, std::size_t left) const noexcept {
  switch (shape_) {
    case Shape::single_byte:
      return 1;
    case Shape::double_byte:
      return chars::double_byte_length(is_lead_byte(*page_, s[0]), s, left);
    case Shape::utf8: {
      // A byte that does not start a well-formed sequence decodes to U+FFFD,
      // which has no case: it is mapped alone, to itself.
      const chars::Utf8Step step = chars::utf8_step(s, left);
      return step.valid ? step.length : 1;
    }
  }
  return 1;
}

bool AnsiCaseMap::map_char(const unsigned char* s, std::size_t length, Case to,
                           unsigned char* out) const noexcept {
  char16_t units[4];
  const std::size_t n = decode(*page_, reinterpret_cast<const char*>(s), length, units);
  char32_t c;
  if (n == 1 && !is_surrogate(units[0]))
    c = units[0];
  else if (n == 2 && units[0] >= 0xD800 && units[0] < 0xDC00 && units[1] >= 0xDC00 &&
           units[1] < 0xE000)
    c = 0x10000 + ((char32_t{units[0]} - 0xD800) << 10) + (units[1] - 0xDC00u);
  else
    return false;
  const char32_t m = map_code_point(c, to, locale_);
  if (m == c || m > 0x10FFFF || is_surrogate(m)) return false;
  char16_t mapped[2];
  std::size_t count = 1;
  if (m < 0x10000) {
    mapped[0] = static_cast<char16_t>(m);
  } else {
    mapped[0] = static_cast<char16_t>(0xD800 + ((m - 0x10000) >> 10));
    mapped[1] = static_cast<char16_t>(0xDC00 + (m & 0x3FF));
    count = 2;
  }
  if (encode(*page_, mapped, count, nullptr) != length) return false;
  char bytes[8];
  encode(*page_, mapped, count, bytes);
  // A character the page lacks is encoded as '?': only an exact round trip
  // is a mapping.
  char16_t back[4];
  if (decode(*page_, bytes, length, back) != count ||
      std::memcmp(back, mapped, count * sizeof(char16_t)) != 0)
    return false;
  std::memcpy(out, bytes, length);
  return true;
}

void AnsiCaseMap::apply(char* text, std::size_t count, Case to) const noexcept {
  auto* s = reinterpret_cast<unsigned char*>(text);
  const unsigned char* table = table_[static_cast<int>(to)];
  if (shape_ == Shape::single_byte) {
    for (std::size_t i = 0; i < count; ++i) s[i] = table[s[i]];
    return;
  }
  for (std::size_t i = 0; i < count;) {
    const std::size_t length = s[i] < 0x80 ? 1 : char_length(s + i, count - i);
    if (length == 1)
      s[i] = table[s[i]];
    else
      map_char(s + i, length, to, s + i);
    i += length;
  }
}

}  // namespace quarnel::platform::posix

namespace quarnel::platform {
namespace {

// Built on first use rather than while the library loads: it needs the
// user's locale, which is itself set up during loading, in an order between
// files that the language leaves open. Read-only once built.
const posix::AnsiCaseMap& process_case_map() noexcept {
  static const posix::AnsiCaseMap map(*posix::find_code_page(ansi_code_page()),
                                      posix::user_locale());
  return map;
}

}  // namespace

void map_case(char* text, std::size_t count, Case to) noexcept {
  process_case_map().apply(text, count, to);
}

}  // namespace quarnel::platform
