// The library's side of the host-declared wrapper list: clearing for reuse,
// growing by the owner's step, and handing out the next slot. Wrappers and
// arrays come from the heap the library shares with its hosts, so a host may
// free a list the library grew.
#pragma once

#include <cstddef>
#include <new>

#include "core/handle.hpp"
#include "quarnel/quarnel.hpp"

namespace quarnel::split {

using AWrapper = LStrWrapper<core::ARec>;
using WWrapper = LStrWrapper<core::WRec>;
using AList = LStrWrapperList<core::ARec>;
using WList = LStrWrapperList<core::WRec>;

// The layout hosts declare: handle then a one-byte flag; four list fields.
static_assert(std::is_standard_layout_v<AWrapper> && std::is_standard_layout_v<AList>);
static_assert(offsetof(AWrapper, handle) == 0 && offsetof(AWrapper, owned) == sizeof(void*));
static_assert(offsetof(AList, growBy) == 0 && offsetof(AList, capacity) == 4 &&
              offsetof(AList, count) == 8 && offsetof(AList, items) % sizeof(void*) == 0);
static_assert(sizeof(AWrapper) == sizeof(WWrapper) && sizeof(AList) == sizeof(WList));
#if defined(__i386__) || defined(_M_IX86)
static_assert(sizeof(AWrapper) == 8 && sizeof(AList) == 16 && offsetof(AList, items) == 12);
#endif

// Adds growBy slots (one when growBy is below 1), each a new owning wrapper
// around a fresh empty handle. Slots made before a failure stay in the list.
template <class Rec>
void grow(LStrWrapperList<Rec>& list) {
  using Wrapper = LStrWrapper<Rec>;
  std::int32_t step = list.growBy < 1 ? 1 : list.growBy;
  auto** bigger = static_cast<Wrapper**>(
      mem::heap_alloc(sizeof(Wrapper*) * (static_cast<std::size_t>(list.capacity) + step)));
  for (std::int32_t i = 0; i < list.capacity; ++i) bigger[i] = list.items[i];
  mem::heap_free(list.items);
  list.items = bigger;
  for (std::int32_t i = 0; i < step; ++i) {
    core::RecordPtr<Rec> handle = core::new_record<Rec>();
    void* block = mem::heap_alloc(sizeof(Wrapper));
    list.items[list.capacity++] = new (block) Wrapper(handle.release(), true);
  }
}

// The handle of the next slot, growing the list when it is full. The slot
// counts as taken before its text is stored.
template <class Rec>
Rec& next_slot(LStrWrapperList<Rec>& list) {
  if (list.count >= list.capacity) grow(list);
  return *list.items[list.count++]->handle;
}

}  // namespace quarnel::split
