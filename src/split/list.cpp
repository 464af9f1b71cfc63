// Releasing a wrapper list. Slots may be null in a list a host assembled by
// hand; each wrapper follows its own ending rule, so a wrapper that does not
// own its handle leaves it alone.
#include "split/list.hpp"

namespace quarnel::split {

template <class Rec>
void end_list(LStrWrapperList<Rec>& list) noexcept {
  for (std::int32_t i = 0; list.items && i < list.capacity; ++i) {
    if (LStrWrapper<Rec>* wrapper = list.items[i]) {
      wrapper->reset();
      LStrHeapFree(wrapper);
    }
  }
  LStrHeapFree(list.items);
  list.items = nullptr;
  list.capacity = 0;
  list.count = 0;
}

template void end_list(AList&) noexcept;
template void end_list(WList&) noexcept;

}  // namespace quarnel::split
