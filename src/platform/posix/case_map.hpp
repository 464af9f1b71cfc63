// Case mapping on POSIX systems: the user's locale (towlower_l, towupper_l)
// applied to the characters of one of the Windows code pages that the POSIX
// layer reproduces. Each character is decoded, mapped and encoded back, and
// is kept only when the mapped character encodes exactly, in as many bytes
// as before. Characters of one byte are looked up in tables built when the
// map is made; the map is read-only afterwards and may serve any thread.
#pragma once

#include <locale.h>

#include <cstddef>

#include "platform/case_map.hpp"
#include "platform/posix/codepage.hpp"

namespace quarnel::platform::posix {

class AnsiCaseMap {
 public:
  AnsiCaseMap(const CodePage& page, locale_t locale) noexcept;

  void apply(char* text, std::size_t count, Case to) const noexcept;

 private:
  enum class Shape : unsigned char { single_byte, double_byte, utf8 };

  std::size_t char_length(const unsigned char* s, std::size_t left) const noexcept;
  bool map_char(const unsigned char* s, std::size_t length, Case to,
                unsigned char* out) const noexcept;

  const CodePage* page_;
  locale_t locale_;
  Shape shape_;
  unsigned char table_[2][256];  // by Case: one-byte characters
};

}  // namespace quarnel::platform::posix
