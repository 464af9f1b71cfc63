// The library's side of the host-declared wrapper list. Growth follows the
// same rules as the host's own list methods (quarnel/detail/wrapper_list.hpp);
// only the making of handles differs: the library makes them directly rather
// than through its exports.
#pragma once

#include <cstddef>
#include <type_traits>

#include "core/handle.hpp"
#include "core/registry.hpp"
#include "platform/platform.hpp"
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

// Handles for new slots, made without going through the exports.
template <class Rec>
struct SlotHandles {
  static Rec* alloc() { return core::new_record<Rec>().release(); }
  static void destroy(Rec* h) noexcept { core::destroy_handle(h); }
  // Pointers the list's items block holds, which may be more than its capacity.
  static std::size_t block_slots(void* items) noexcept {
    return platform::heap_block_size(items) / sizeof(void*);
  }
};

// Checked-handles mode: throws EInvalidHandle unless `h` is a live handle of
// its family. `what` and `index` name it in the message.
template <class Rec>
void require_live(const Rec* h, const char* what, long index = -1) {
  if (core::registry::enabled())
    core::registry::require_live(h, core::FamilyOf<Rec>::tag, what, index);
}

// The handle of slot `count`, the next to be stored, growing the list when
// it is full. Taking it does not change the count.
template <class Rec>
Rec& free_slot(LStrWrapperList<Rec>& list) {
  Rec& h = detail::next_slot<SlotHandles<Rec>>(list);
  require_live(&h, "list slot", list.count);
  return h;
}

// Ends every wrapper of the list, frees them and the array, and leaves the
// list empty with its growBy unchanged. In checked-handles mode every handle
// the list owns is looked at first: if one is not live, EInvalidHandle is
// thrown and nothing is released.
template <class Rec>
void end_list(LStrWrapperList<Rec>& list);

}  // namespace quarnel::split
