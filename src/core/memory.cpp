#include "core/memory.hpp"

#include <new>

namespace quarnel {
namespace {

// Per-thread fault-injection state. Production code never sets it; the cost
// is one thread-local read per allocation.
struct Injection {
  long remaining = -1;  // < 0: off
  long count = 0;
  long live = 0;
};
thread_local Injection injection;

bool injected_failure() noexcept {
  ++injection.count;
  if (injection.remaining < 0) return false;
  if (injection.remaining == 0) return true;
  --injection.remaining;
  return false;
}

}  // namespace

void* mem::allocate(Pool pool, std::size_t size, const void* init) {
  if (injected_failure()) throw std::bad_alloc();
  void* block = nullptr;
  if (pool == Pool::heap) {
    block = platform::heap_alloc(size == 0 ? 1 : size);
  } else if (size <= 0x7FFFFFFEu / sizeof(platform::wchar)) {
    block = platform::bstr_alloc(static_cast<const platform::wchar*>(init),
                                 static_cast<std::uint32_t>(size));
  }
  if (block == nullptr) throw std::bad_alloc();
  ++injection.live;
  return block;
}

void mem::release(Pool pool, void* block) noexcept {
  if (block == nullptr) return;
  --injection.live;
  if (pool == Pool::heap)
    platform::heap_free(block);
  else
    platform::bstr_free(static_cast<platform::wchar*>(block));
}

void* mem::heap_alloc_or_null(int bytes) noexcept {
  if (bytes < 0) return nullptr;
  try {
    return allocate(Pool::heap, static_cast<std::size_t>(bytes));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void testing::fail_allocations_after(long successes) noexcept { injection.remaining = successes; }
long testing::allocation_count() noexcept { return injection.count; }
void testing::reset_allocation_count() noexcept { injection.count = 0; }
long testing::live_blocks() noexcept { return injection.live; }

}  // namespace quarnel
