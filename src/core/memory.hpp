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

// Obtains `size` bytes (heap) or a BSTR of `size` units copied from `init`
// when it is not null (bstr). Throws std::bad_alloc on failure; never
// returns null.
void* allocate(Pool pool, std::size_t size, const void* init = nullptr);

// Gives a block back to its pool. Null is ignored.
void release(Pool pool, void* block) noexcept;

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
