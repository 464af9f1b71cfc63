#include "core/ansi_str.hpp"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

#include "core/memory.hpp"
#include "platform/platform.hpp"

namespace quarnel::core {
AnsiStr::AnsiStr(std::size_t length, std::size_t capacity) {
  if (length == 0) return;
  if (length > kMaxLengthA) throw std::bad_alloc();
  capacity = std::clamp(std::max(capacity, kMinRoomA), length, kMaxLengthA);
  auto* header = static_cast<AnsiHeader*>(mem::heap_alloc(sizeof(AnsiHeader) + capacity + 1));
  // The process's code page is settled while the library loads.
  static const auto code_page = static_cast<std::uint16_t>(platform::ansi_code_page());
  header->capacity = static_cast<std::int32_t>(capacity);
  header->codePage = code_page;
  header->bookkeeping = 1;
  header->refCount = 1;
  header->length = static_cast<std::int32_t>(length);
  p_ = reinterpret_cast<char*>(header + 1);
  p_[length] = '\0';
}

AnsiStr AnsiStr::copy(std::string_view text) {
  AnsiStr s(text.size());
  if (!text.empty()) std::memcpy(s.p_, text.data(), text.size());
  return s;
}

AnsiStr AnsiStr::share(char* payload) noexcept {
  if (payload) ansi_ref_count(payload).fetch_add(1, std::memory_order_relaxed);
  return adopt(payload);
}

void AnsiStr::drop() noexcept {
  // A count of 1 is this reference alone: no other thread can take one more
  // (it would need a handle to the payload), so the block goes without the
  // cost of an atomic write.
  auto count = ansi_ref_count(p_);
  if (count.load(std::memory_order_acquire) == 1 ||
      count.fetch_sub(1, std::memory_order_acq_rel) == 1)
    mem::heap_free(ansi_header(p_));
}

}  // namespace quarnel::core
