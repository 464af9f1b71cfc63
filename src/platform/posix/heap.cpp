// POSIX stand-ins for the process heap and the BSTR allocator. Hosts free
// what the library allocates (and the reverse) with malloc/free, so the heap
// is malloc itself.
#include <malloc.h>

#include <cstdlib>
#include <cstring>

#include "platform/platform.hpp"

namespace quarnel::platform {

void* heap_alloc(std::size_t bytes) noexcept { return std::malloc(bytes); }
void heap_free(void* block) noexcept { std::free(block); }
std::size_t heap_block_size(void* block) noexcept { return malloc_usable_size(block); }

// A BSTR block: a 32-bit byte length, the units, one zero unit. The block is
// 8-byte aligned, so the units are 4-byte aligned as on Windows.
wchar* bstr_alloc(const wchar* units, std::uint32_t count) noexcept {
  std::uint32_t bytes = count * sizeof(wchar);
  auto* block = static_cast<char*>(std::malloc(sizeof(std::uint32_t) + bytes + sizeof(wchar)));
  if (!block) return nullptr;
  std::memcpy(block, &bytes, sizeof bytes);
  auto* text = reinterpret_cast<wchar*>(block + sizeof bytes);
  if (units) std::memcpy(text, units, bytes);
  text[count] = 0;
  return text;
}

std::size_t bstr_capacity(wchar* bstr) noexcept {
  std::size_t usable = malloc_usable_size(reinterpret_cast<char*>(bstr) - sizeof(std::uint32_t));
  return (usable - sizeof(std::uint32_t)) / sizeof(wchar) - 1;
}

void bstr_free(wchar* bstr) noexcept {
  if (bstr) std::free(reinterpret_cast<char*>(bstr) - sizeof(std::uint32_t));
}

}  // namespace quarnel::platform
