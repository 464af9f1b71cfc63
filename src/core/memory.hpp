// Every block of library memory -- handle records, A payloads, BSTRs and the
// storage of host wrapper lists -- is obtained here, so that one switch can
// make allocations fail on demand in tests.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.hpp"

namespace quarnel::mem {

// What kind of block to obtain. Heap blocks come from the process-wide heap
// shared with hosts; BSTR blocks from the platform's BSTR allocator.
enum class Pool { heap, bstr };

namespace detail {

// Per-thread fault-injection and accounting state. Production code never
// switches injection on; the cost is a few thread-local reads and writes per
// block. In an ELF shared library the state is asked for in the static TLS
// block, which makes each access one instruction instead of a call.
#if defined(__ELF__)
#define QUARNEL_MEM_TLS __attribute__((tls_model("initial-exec")))
#else
#define QUARNEL_MEM_TLS
#endif
struct Injection {
  long remaining = -1;  // < 0: off
  long count = 0;
  long live = 0;
};
extern constinit thread_local Injection injection QUARNEL_MEM_TLS;

// Whether the injection switch, which is on, fails this allocation.
bool injected_failure() noexcept;
// A BSTR of `size` units, or null; and its release.
void* bstr_block(std::size_t size, const void* init) noexcept;
void bstr_release(void* block) noexcept;
[[noreturn]] void out_of_memory();

}  // namespace detail

// Obtains `size` bytes (heap) or a BSTR of `size` units copied from `init`
// when it is not null (bstr). Throws std::bad_alloc on failure; never
// returns null. Inline, since small blocks cost little more than the calls
// that lead to them.
inline void* allocate(Pool pool, std::size_t size, const void* init = nullptr) {
  detail::Injection& state = detail::injection;
  ++state.count;
  if (state.remaining >= 0 && detail::injected_failure()) detail::out_of_memory();
  void* block = pool == Pool::heap ? platform::heap_alloc(size == 0 ? 1 : size)
                                   : detail::bstr_block(size, init);
  if (block == nullptr) detail::out_of_memory();
  ++state.live;
  return block;
}

// Gives a block back to its pool. Null is ignored.
inline void release(Pool pool, void* block) noexcept {
  if (block == nullptr) return;
  --detail::injection.live;
  if (pool == Pool::heap)
    platform::heap_free(block);
  else
    detail::bstr_release(block);
}

inline void* heap_alloc(std::size_t bytes) { return allocate(Pool::heap, bytes); }
inline void heap_free(void* block) noexcept { release(Pool::heap, block); }

// The shared heap as hosts see it: null instead of an exception, and null
// for a negative size.
void* heap_alloc_or_null(int bytes) noexcept;

}  // namespace quarnel::mem

namespace quarnel::testing {

// Makes the calling thread's allocations fail after `successes` more have
// succeeded; a negative value switches injection off. Test-only: the switch
// is per thread, so it cannot disturb other threads.
void fail_allocations_after(long successes) noexcept;

// Number of allocations the calling thread has made since the counter was
// last reset, and the reset itself (used to find every failure point).
long allocation_count() noexcept;
void reset_allocation_count() noexcept;

// Blocks obtained minus blocks released by the calling thread: a leak check
// that works where no leak sanitizer does.
long live_blocks() noexcept;

}  // namespace quarnel::testing
