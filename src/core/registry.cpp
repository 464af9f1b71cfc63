#include "core/registry.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <new>
#include <unordered_map>
#include <vector>

#include "core/memory.hpp"
#include "quarnel/errors.hpp"

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

struct Entry {
  Family family;
  bool destroyed;
};

using Map =
    std::unordered_map<const void*, Entry, std::hash<const void*>, std::equal_to<const void*>,
                       HeapAllocator<std::pair<const void* const, Entry>>>;

// Built on first use and never destroyed, so exports called while the process
// exits still find it. A development mode may take a lock; the library's
// normal paths never do.
struct Registry {
  std::mutex lock;
  Map known;
  // The quarantine: a ring of destroyed records, `next` the oldest once the
  // ring is full. Its storage is taken once, when the first record comes in.
  std::vector<void*, HeapAllocator<void*>> ring;
  std::size_t next = 0;

  // Frees every quarantined record and forgets everything.
  void empty() noexcept {
    for (void* record : ring) mem::heap_free(record);
    decltype(ring)().swap(ring);
    next = 0;
    Map().swap(known);
  }
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
  r.known.insert_or_assign(record, Entry{family, false});
}

void discard(void* record) noexcept {
  Registry& r = registry();
  {
    std::lock_guard<std::mutex> hold(r.lock);
    r.known.erase(record);
  }
  mem::heap_free(record);
}

void retire(void* record) noexcept {
  Registry& r = registry();
  std::lock_guard<std::mutex> hold(r.lock);
  if (r.ring.capacity() < kQuarantine) {
    try {
      r.ring.reserve(kQuarantine);
    } catch (const std::bad_alloc&) {
      // No room for the quarantine: the record goes back to the heap at once
      // and is forgotten, as if it had left the quarantine.
      r.known.erase(record);
      mem::heap_free(record);
      return;
    }
  }
  auto it = r.known.find(record);
  if (it != r.known.end()) it->second.destroyed = true;
  if (r.ring.size() < kQuarantine) {
    r.ring.push_back(record);
    return;
  }
  void* oldest = r.ring[r.next];
  r.ring[r.next] = record;
  r.next = (r.next + 1) % kQuarantine;
  r.known.erase(oldest);
  mem::heap_free(oldest);
}

Verdict look_up(const void* record, Family family) noexcept {
  Registry& r = registry();
  std::lock_guard<std::mutex> hold(r.lock);
  auto it = r.known.find(record);
  if (it == r.known.end()) return Verdict::unknown;
  if (it->second.destroyed) return Verdict::destroyed;
  return it->second.family == family ? Verdict::live : Verdict::other_family;
}

void require_live(const void* record, Family family, const char* what, long index) {
  Verdict verdict = record ? look_up(record, family) : Verdict::unknown;
  if (verdict == Verdict::live) return;
  char text[160];
  if (index >= 0)
    std::snprintf(text, sizeof text, "invalid handle in %s %ld%s", what, index, describe(verdict));
  else
    std::snprintf(text, sizeof text, "invalid handle in %s%s", what, describe(verdict));
  throw EInvalidHandle(text);
}

const char* describe(Verdict verdict) noexcept {
  switch (verdict) {
    case Verdict::other_family:
      return " (a handle of the other family)";
    case Verdict::destroyed:
      return " (a destroyed handle)";
    default:
      return "";
  }
}

}  // namespace quarnel::core::registry

void quarnel::testing::check_handles(bool on) noexcept {
  using namespace quarnel::core::registry;
  Registry& r = registry();
  std::lock_guard<std::mutex> hold(r.lock);
  r.empty();
  // Room for a test's handles and the quarantine up front, so the registry's
  // own storage does not show up in a test's count of live blocks.
  if (on) {
    try {
      r.known.reserve(256);
      r.ring.reserve(kQuarantine);
    } catch (const std::bad_alloc&) {
    }
  }
  detail::enabled = on;
}
