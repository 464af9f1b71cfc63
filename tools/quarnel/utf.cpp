#include "utf.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "quarnel/quarnel.hpp"

namespace qtool {
namespace {

// The length of the well-formed sequence at text[i], or 0.
std::size_t sequence_length(std::string_view text, std::size_t i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char b = byte(i);
  if (b < 0x80) return 1;
  std::size_t n = b >= 0xC2 && b < 0xE0   ? 2
                  : b >= 0xE0 && b < 0xF0 ? 3
                  : b >= 0xF0 && b < 0xF5 ? 4
                                          : 0;
  if (n == 0 || i + n > text.size()) return 0;
  // The second byte's range excludes overlong forms, surrogates and code
  // points beyond U+10FFFF.
  unsigned char lo = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
  unsigned char hi = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
  if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
  for (std::size_t k = 2; k < n; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  return n;
}

// The index of the first byte of `marks` (a word read from memory) that has
// its high bit set; `marks` is not zero.
std::size_t first_marked_byte(std::uint64_t marks) {
  if constexpr (std::endian::native == std::endian::little)
    return static_cast<std::size_t>(std::countr_zero(marks)) / 8;
  else
    return static_cast<std::size_t>(std::countl_zero(marks)) / 8;
}

// From data[i], skips 32 bytes at a time while they are ASCII; returns the
// first byte with its high bit set, or where fewer than 32 bytes are left.
std::size_t skip_ascii(const char* data, std::size_t i, std::size_t n) {
#if defined(__SSE2__)
  for (; i + 32 <= n; i += 32) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 16));
    auto high = static_cast<unsigned>(_mm_movemask_epi8(a)) |
                static_cast<unsigned>(_mm_movemask_epi8(b)) << 16;
    if (high) return i + static_cast<std::size_t>(std::countr_zero(high));
  }
#else
  (void)data;
  (void)n;
#endif
  return i;
}

}  // namespace

// ASCII is skipped in blocks: a block with a high bit set sends the scan
// straight to its first such byte, where a sequence must start.
std::size_t valid_utf8_prefix(std::string_view text) {
  const char* data = text.data();
  std::size_t i = 0, n = text.size();
  while (i < n) {
    i = skip_ascii(data, i, n);
    if (i == n) break;
    if (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, data + i, 8);
      std::uint64_t high = word & 0x8080808080808080u;
      if (!high) {
        i += 8;
        continue;
      }
      i += first_marked_byte(high);
    } else if (static_cast<unsigned char>(data[i]) < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = sequence_length(text, i);
    if (length == 0) return i;
    i += length;
  }
  return n;
}

bool valid_utf8(std::string_view text) { return valid_utf8_prefix(text) == text.size(); }

std::string_view repair_utf8(std::string_view text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = sequence_length(text, i);
    if (n == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out.append(text, i, n);
      i += n;
    }
  }
  return out;
}

// The wrapper's UTF-16 to UTF-8 writer: pairs become one character, lone
// surrogates U+FFFD.
void append_utf16_as_utf8(std::basic_string_view<LWideChar> units, std::string& out) {
  quarnel::detail::append_utf8(out, units);
}

std::size_t append_utf16_bytes_as_utf8(std::string_view bytes, bool big_endian, char16_t& high,
                                       std::string& out) {
  std::size_t i = 0;
  for (; i + 2 <= bytes.size(); i += 2) {
    auto b0 = static_cast<unsigned char>(bytes[i]), b1 = static_cast<unsigned char>(bytes[i + 1]);
    char16_t unit = static_cast<char16_t>(big_endian ? b0 << 8 | b1 : b1 << 8 | b0);
    if (unit < 0x80 && !high) {
      out += static_cast<char>(unit);
      continue;
    }
    if (high && unit >= 0xDC00 && unit < 0xE000) {
      quarnel::detail::put_utf8(out,
                                0x10000 + ((char32_t{high} - 0xD800) << 10) + (unit - 0xDC00u));
      high = 0;
      continue;
    }
    if (high) quarnel::detail::put_utf8(out, 0xFFFD);
    high = 0;
    if (unit >= 0xD800 && unit < 0xDC00)
      high = unit;
    else
      quarnel::detail::put_utf8(out, unit >= 0xDC00 && unit < 0xE000 ? 0xFFFD : unit);
  }
  return i;
}

void append_utf8_as_utf16(std::string_view utf8, std::basic_string<LWideChar>& out) {
  for (std::size_t i = 0; i < utf8.size();) {
    auto b = static_cast<unsigned char>(utf8[i]);
    std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? b : n == 2 ? b & 0x1F : n == 3 ? b & 0x0F : b & 0x07;
    for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
      c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += n;
    if (c >= 0x10000) {
      out += static_cast<LWideChar>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<LWideChar>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<LWideChar>(c);
    }
  }
}

}  // namespace qtool
