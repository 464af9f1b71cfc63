#include "core/registry.hpp"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <new>
#include <unordered_map>

#include "core/memory.hpp"

namespace quarnel::core::registry {
namespace {

// The registry's nodes come from the library's own allocator like every other
// block, so out-of-memory injection reaches them too.
template <class T>
struct HeapAllocator {
  using value_type = T;
  HeapAllocator() = default;
  template <class U>
  HeapAllocator(const HeapAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) { return static_cast<T*>(mem::heap_alloc(n * sizeof(T))); }
  void deallocate(T* p, std::size_t) noexcept { mem::heap_free(p); }
  friend bool operator==(const HeapAllocator&, const HeapAllocator&) = default;
};

using Map =
    std::unordered_map<const void*, Family, std::hash<const void*>, std::equal_to<const void*>,
                       HeapAllocator<std::pair<const void* const, Family>>>;

// Built on first use and never destroyed, so exports called while the process
// exits still find it. A development mode may take a lock; the library's
// normal paths never do.
struct Registry {
  std::mutex lock;
  Map live;
};
Registry& registry() noexcept {
  static Registry* r = new Registry;
  return *r;
}

bool from_environment() noexcept {
  const char* value = std::getenv("QUARNEL_CHECK_HANDLES");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

}  // namespace

bool detail::enabled = from_environment();

void add(const void* record, Family family) {
  Registry& r = registry();
  std::lock_guard<std::mutex> hold(r.lock);
  r.live.insert_or_assign(record, family);
}

void remove(const void* record) noexcept {
  Registry& r = registry();
  std::lock_guard<std::mutex> hold(r.lock);
  r.live.erase(record);
}

Verdict look_up(const void* record, Family family) noexcept {
  Registry& r = registry();
  std::lock_guard<std::mutex> hold(r.lock);
  auto it = r.live.find(record);
  if (it == r.live.end()) return Verdict::unknown;
  return it->second == family ? Verdict::live : Verdict::other_family;
}

}  // namespace quarnel::core::registry

void quarnel::testing::check_handles(bool on) noexcept {
  using namespace quarnel::core::registry;
  Registry& r = registry();
  std::lock_guard<std::mutex> hold(r.lock);
  Map().swap(r.live);
  // Room for a test's handles up front, so the registry's own table does not
  // show up in a test's count of live blocks.
  if (on) {
    try {
      r.live.reserve(256);
    } catch (const std::bad_alloc&) {
    }
  }
  detail::enabled = on;
}
