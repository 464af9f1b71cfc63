// Copying an A handle's text, converted to UTF-16, into a caller's buffer,
// and the buffer sizes that go with it.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>

#include "core/handle.hpp"

namespace quarnel::convert {

// UTF-16 units the text up to its first zero byte needs, terminator included.
int wide_buffer_size(const core::ARec& h) noexcept;

// Converts that text into `buffer` with its terminator when `capacity` units
// hold it all; otherwise writes nothing. Returns `buffer`.
core::wchar* copy_to_wide(const core::ARec& h, core::wchar* buffer, int capacity) noexcept;

// Bytes of the W text, terminator not counted. The library never makes a
// text whose size is past INT_MAX, but a host may store any BSTR through
// LStrBSTRRef: its size is capped rather than wrapped to a negative number.
inline int wide_byte_size(const core::WRec& h) noexcept {
  const std::uint64_t bytes = std::uint64_t{core::length_of(h)} * sizeof(core::wchar);
  return static_cast<int>(std::min<std::uint64_t>(bytes, INT_MAX));
}

}  // namespace quarnel::convert
