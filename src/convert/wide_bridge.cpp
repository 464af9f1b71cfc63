// The conversion reads the text as a C string, up to its first zero byte,
// the way a measuring MultiByteToWideChar call with source length -1 does.
#include "convert/wide_bridge.hpp"

#include <cstring>

#include "core/access.hpp"
#include "platform/platform.hpp"

namespace quarnel::convert {

int wide_buffer_size(const core::ARec& h) noexcept {
  const char* text = core::text_of(h);
  return static_cast<int>(platform::ansi_to_utf16(text, std::strlen(text), nullptr) + 1);
}

core::wchar* copy_to_wide(const core::ARec& h, core::wchar* buffer, int capacity) noexcept {
  const char* text = core::text_of(h);
  std::size_t bytes = std::strlen(text);
  std::size_t units = platform::ansi_to_utf16(text, bytes, nullptr);
  // A buffer too small gets nothing rather than a text without terminator.
  if (buffer && capacity > 0 && units < static_cast<std::size_t>(capacity)) {
    platform::ansi_to_utf16(text, bytes, buffer);
    buffer[units] = 0;
  }
  return buffer;
}

}  // namespace quarnel::convert
