// The conversion reads the text as a C string, up to its first zero byte,
// the way a MultiByteToWideChar call with source length -1 does; finding that
// zero and converting are one pass when the caller's buffer is large enough
// for anything the text could become.
#include "convert/wide_bridge.hpp"

#include "core/access.hpp"
#include "platform/platform.hpp"

namespace quarnel::convert {

int wide_buffer_size(const core::ARec& h) noexcept {
  return static_cast<int>(
      platform::ansi_to_utf16_terminated(core::text_of(h), core::length_of(h), nullptr, 0));
}

core::wchar* copy_to_wide(const core::ARec& h, core::wchar* buffer, int capacity) noexcept {
  // A buffer too small gets nothing rather than a text without terminator.
  if (buffer && capacity > 0)
    platform::ansi_to_utf16_terminated(core::text_of(h), core::length_of(h), buffer,
                                       static_cast<std::size_t>(capacity));
  return buffer;
}

}  // namespace quarnel::convert
