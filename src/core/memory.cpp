#include "core/memory.hpp"

#include <new>

#include "core/wide_str.hpp"

namespace quarnel {

constinit thread_local mem::detail::Injection mem::detail::injection QUARNEL_MEM_TLS;

bool mem::detail::injected_failure() noexcept {
  if (injection.remaining == 0) return true;
  --injection.remaining;
  return false;
}

void* mem::detail::bstr_block(std::size_t size, const void* init) noexcept {
  if (size > core::kMaxLengthW) return nullptr;
  return platform::bstr_alloc(static_cast<const platform::wchar*>(init),
                              static_cast<std::uint32_t>(size));
}

void mem::detail::bstr_release(void* block) noexcept {
  platform::bstr_free(static_cast<platform::wchar*>(block));
}

void mem::detail::out_of_memory() { throw std::bad_alloc(); }

void* mem::heap_alloc_or_null(int bytes) noexcept {
  if (bytes < 0) return nullptr;
  try {
    return allocate(Pool::heap, static_cast<std::size_t>(bytes));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

using mem::detail::injection;

void testing::fail_allocations_after(long successes) noexcept { injection.remaining = successes; }
long testing::allocation_count() noexcept { return injection.count; }
void testing::reset_allocation_count() noexcept { injection.count = 0; }
long testing::live_blocks() noexcept { return injection.live; }

}  // namespace quarnel
