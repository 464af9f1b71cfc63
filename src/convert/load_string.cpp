#include "convert/load_string.hpp"

#include <cstdint>
#include <cstring>

#include "platform/resources.hpp"

namespace quarnel::convert {

core::wstring_view block_entry(const void* block, std::size_t size, unsigned index) noexcept {
  const auto* bytes = static_cast<const unsigned char*>(block);
  std::size_t at = 0;
  // Every step checks the block's size, so a truncated block reads as
  // having no more entries instead of running past its end.
  for (unsigned i = 0;; ++i) {
    if (size - at < 2) return {};
    std::uint16_t count;
    std::memcpy(&count, bytes + at, 2);
    at += 2;
    if (size - at < std::size_t{count} * 2) return {};
    if (i == index) return {reinterpret_cast<const core::wchar*>(bytes + at), count};
    at += std::size_t{count} * 2;
  }
}

core::wstring_view find_string(void* module, int id) noexcept {
  auto n = static_cast<unsigned>(id);
  platform::StringBlock block = platform::find_string_block(module, (n / 16 + 1) & 0xFFFF);
  if (!block.data) return {};
  return block_entry(block.data, block.size, n % 16);
}

core::ARec* load_string_ansi(void* module, int id) {
  return core::new_handle(core::to_ansi(find_string(module, id)));
}

core::WRec* load_string_wide(void* module, int id) {
  return core::new_handle(core::WideStr::copy(find_string(module, id)));
}

}  // namespace quarnel::convert
