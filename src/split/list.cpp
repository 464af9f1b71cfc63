// Releasing a wrapper list. Slots may be null in a list a host assembled by
// hand; each wrapper follows its own ending rule, so a wrapper that does not
// own its handle leaves it alone. The handles are destroyed here directly,
// not through the destroy exports: a failure must reach the host through the
// boundary of the export it called.
#include "split/list.hpp"

namespace quarnel::split {

template <class Rec>
void end_list(LStrWrapperList<Rec>& list) {
  if (core::registry::enabled()) {
    for (std::int32_t i = 0; list.items && i < list.capacity; ++i) {
      const LStrWrapper<Rec>* wrapper = list.items[i];
      if (wrapper && wrapper->owned && wrapper->handle) require_live(wrapper->handle, "slot", i);
    }
  }
  for (std::int32_t i = 0; list.items && i < list.capacity; ++i) {
    if (LStrWrapper<Rec>* wrapper = list.items[i]) {
      if (wrapper->owned) core::destroy_handle(wrapper->handle);
      wrapper->handle = nullptr;
      mem::heap_free(wrapper);
    }
  }
  mem::heap_free(list.items);
  list.items = nullptr;
  list.capacity = 0;
  list.count = 0;
}

template void end_list(AList&);
template void end_list(WList&);

}  // namespace quarnel::split
