// POSIX stand-ins for the process heap and the BSTR allocator. Hosts free
// what the library allocates (and the reverse) with malloc/free, so the heap
// is malloc itself.
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/platform.hpp"

namespace quarnel::platform {

namespace {

// Blocks this large are mostly fresh mappings that the C library returns to
// the system when freed, so every page of each new one is faulted in again.
// A text that is written from end to end is better served by huge pages
// where the system offers them on request: one fault per 2 MiB, not 512.
void prefer_huge_pages(char* block, std::size_t size) noexcept {
#if defined(MADV_HUGEPAGE)
  constexpr std::size_t kLarge = std::size_t{8} << 20;
  if (size < kLarge) return;
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto first = (reinterpret_cast<std::uintptr_t>(block) + page - 1) / page * page;
  const auto last = (reinterpret_cast<std::uintptr_t>(block) + size) / page * page;
  // Only advice: a system without the feature simply declines it.
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)block, (void)size;
#endif
}

}  // namespace

// Every large block takes the same advice, whatever it holds: A payloads,
// lists and scratch as well as BSTRs.
void* heap_alloc(std::size_t bytes) noexcept {
  void* block = std::malloc(bytes);
  if (block) prefer_huge_pages(static_cast<char*>(block), bytes);
  return block;
}
void heap_free(void* block) noexcept { std::free(block); }
std::size_t heap_block_size(void* block) noexcept { return malloc_usable_size(block); }

// A BSTR block: a 32-bit byte length, the units, one zero unit. The block is
// 8-byte aligned, so the units are 4-byte aligned as on Windows.
wchar* bstr_alloc(const wchar* units, std::uint32_t count) noexcept {
  std::uint32_t bytes = count * sizeof(wchar);
  const std::size_t size = sizeof(std::uint32_t) + bytes + sizeof(wchar);
  auto* block = static_cast<char*>(std::malloc(size));
  if (!block) return nullptr;
  prefer_huge_pages(block, size);
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
