// Conversions between the families: a measuring pass sizes the result
// exactly, a second pass fills it.
#include "core/handle.hpp"
#include "platform/platform.hpp"

namespace quarnel::core {

AnsiStr to_ansi(wstring_view text) {
  std::size_t n = platform::utf16_to_ansi(text.data(), text.size(), nullptr);
  AnsiStr s(n);
  if (n) platform::utf16_to_ansi(text.data(), text.size(), s.data());
  return s;
}

WideStr to_wide(std::string_view text) {
  std::size_t n = platform::ansi_to_utf16(text.data(), text.size(), nullptr);
  WideStr s(n);
  if (n) platform::ansi_to_utf16(text.data(), text.size(), s.data());
  return s;
}

}  // namespace quarnel::core
