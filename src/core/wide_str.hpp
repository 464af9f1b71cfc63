// The W payload: a BSTR. The pointer addresses the first UTF-16 unit, the 32
// bits before it hold the length in bytes, and one zero unit follows the
// last unit. A BSTR belongs to exactly one handle; copies are real copies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "quarnel/quarnel.h"

namespace quarnel::core {

using wchar = LWideChar;
using wstring_view = std::basic_string_view<wchar>;
static_assert(sizeof(wchar) == 2);

// The longest W text: its length prefix counts bytes and must stay a
// positive signed 32-bit number.
inline constexpr std::size_t kMaxLengthW = 0x7FFFFFFEu / sizeof(wchar);

inline std::size_t bstr_length(const wchar* bstr) noexcept {
  if (!bstr) return 0;
  std::uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<const char*>(bstr) - 4, 4);
  return bytes / sizeof(wchar);
}

// Owns one BSTR, or nothing (the empty string).
class WideStr {
 public:
  using Char = wchar;

  WideStr() noexcept = default;
  // A BSTR of `length` units for the caller to fill; 0 gives the empty string.
  explicit WideStr(std::size_t length);
  static WideStr copy(wstring_view text);
  static WideStr adopt(wchar* bstr) noexcept {
    WideStr s;
    s.p_ = bstr;
    return s;
  }

  WideStr(WideStr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  WideStr& operator=(WideStr&& other) noexcept {
    WideStr(std::move(other)).swap(*this);
    return *this;
  }
  WideStr(const WideStr&) = delete;
  WideStr& operator=(const WideStr&) = delete;
  // Inline for the common case of nothing to free (moved-from or empty).
  ~WideStr() {
    if (p_) drop();
  }

  void swap(WideStr& other) noexcept { std::swap(p_, other.p_); }
  wchar* data() const noexcept { return p_; }
  std::size_t size() const noexcept { return bstr_length(p_); }
  wstring_view view() const noexcept { return {p_ ? p_ : u16empty(), size()}; }
  wchar* release() noexcept { return std::exchange(p_, nullptr); }

 private:
  // A BSTR of `length` units copied from `init`, or left for the caller to
  // fill when `init` is null.
  WideStr(std::size_t length, const wchar* init);
  static const wchar* u16empty() noexcept {
    static constexpr wchar zero = 0;
    return &zero;
  }
  void drop() noexcept;
  wchar* p_ = nullptr;
};

}  // namespace quarnel::core
