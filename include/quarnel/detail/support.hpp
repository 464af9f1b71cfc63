// Implementation details of quarnel.hpp: hosts include quarnel.hpp and must
// not rely on anything here.
//
// What the C++ layer adds at its edges: sizes checked before they become the
// exports' `int`, failures recorded by the library turned back into the
// exceptions a C++ caller catches, and UTF-8 <-> UTF-16 conversion that does
// not go through the process's code page.
#ifndef QUARNEL_DETAIL_SUPPORT_HPP
#define QUARNEL_DETAIL_SUPPORT_HPP

#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

#include "quarnel/errors.hpp"
#include "quarnel/quarnel.h"

namespace quarnel::detail {

// A size or count for an export's `int`, refused (std::length_error) when it
// exceeds `limit`, which never exceeds INT_MAX. Works for every integer type
// without a conversion warning at the caller.
template <class I>
int checked_int(I value, std::size_t limit, const char* what) {
  static_assert(std::is_integral_v<I>, "a count or position must be an integer");
  if constexpr (std::is_signed_v<I>) {
    if (value < 0) throw std::length_error(what);
  }
  if (static_cast<std::make_unsigned_t<I>>(value) > limit) throw std::length_error(what);
  return static_cast<int>(value);
}

// Whether an index of any integer type lies in [0, size).
template <class I>
constexpr bool index_below(I i, std::size_t size) noexcept {
  if constexpr (std::is_signed_v<I>) {
    if (i < 0) return false;
  }
  return static_cast<std::make_unsigned_t<I>>(i) < size;
}

// After a failed call in record mode: the recorded failure as the exception
// that raise mode would have thrown. With nothing recorded (a null handle
// handed to a wrapper, say) the failure is std::invalid_argument.
[[noreturn]] inline void throw_recorded_failure() {
  char message[256] = {};
  const unsigned code = LStrGetLastFailure(message, static_cast<int>(sizeof message));
  switch (code) {
    case QUARNEL_EXCEPTION_RANGE:
      throw ERangeError();
    case QUARNEL_EXCEPTION_CONVERT:
      throw EConvertError(message);
    case QUARNEL_EXCEPTION_OUT_OF_MEMORY:
      throw std::bad_alloc();
    case QUARNEL_EXCEPTION_INVALID_HANDLE:
      throw EInvalidHandle(message);
    case 0:
      throw std::invalid_argument("quarnel: no handle");
    default:
      throw std::runtime_error(message);
  }
}

// A handle a creating export returned: null only when the call failed in
// record mode (in raise mode the failure has left the call already).
template <class Handle>
Handle made(Handle h) {
  if (!h) throw_recorded_failure();
  return h;
}

// Whether the calling thread's last call failed in record mode. Asked only
// when a result is ambiguous (a zero that could be an answer), so the usual
// path costs nothing.
inline void throw_if_recorded() {
  if (LStrSetFailureMode(-1) == 1 && LStrGetLastFailure(nullptr, 0) != 0) throw_recorded_failure();
}

// ---- UTF-8 <-> UTF-16, whatever the process's code page -------------------
// Ill-formed input (a stray byte, an overlong or surrogate encoding, a lone
// surrogate unit) becomes U+FFFD, one per maximal bad sequence.

inline void put_utf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

inline void append_utf8(std::string& out, std::basic_string_view<LWideChar> units) {
  out.reserve(out.size() + units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::uint32_t c = static_cast<std::uint16_t>(units[i]);
    if (c >= 0xD800 && c < 0xE000) {
      const std::uint32_t next =
          i + 1 < units.size() ? static_cast<std::uint16_t>(units[i + 1]) : 0u;
      if (c < 0xDC00 && next >= 0xDC00 && next < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
        ++i;
      } else {
        c = 0xFFFD;
      }
    }
    put_utf8(out, c);
  }
}

inline std::basic_string<LWideChar> utf16_from_utf8(std::string_view text) {
  std::basic_string<LWideChar> out;
  out.reserve(text.size());
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  for (std::size_t i = 0; i < text.size();) {
    const std::uint8_t lead = byte(i);
    if (lead < 0x80) {
      out += static_cast<LWideChar>(lead);
      ++i;
      continue;
    }
    // The sequence's length and the range its second byte must fall in
    // (which rules out overlong forms, surrogates and values past U+10FFFF).
    std::size_t n = 0;
    std::uint8_t low = 0x80, high = 0xBF;
    std::uint32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      n = 2, c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      n = 3, c = lead & 0x0Fu;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      n = 4, c = lead & 0x07u;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    }
    std::size_t k = 1;
    for (; n && k < n && i + k < text.size(); ++k) {
      const std::uint8_t b = byte(i + k);
      if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) break;
      c = (c << 6) | (b & 0x3Fu);
    }
    if (n == 0 || k < n) {
      out += static_cast<LWideChar>(0xFFFD);
      i += k;
      continue;
    }
    if (c >= 0x10000) {
      out += static_cast<LWideChar>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<LWideChar>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<LWideChar>(c);
    }
    i += n;
  }
  return out;
}

}  // namespace quarnel::detail

#endif  // QUARNEL_DETAIL_SUPPORT_HPP
