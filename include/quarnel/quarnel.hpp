// quarnel.hpp - host-side C++ types for Quarnel: a wrapper that owns one
// string handle, and the growable wrapper list that the splitting functions
// fill.
//
// The types are plain classes whose fields, in order, are part of the
// library's interface: the library reads and writes them in place. Wrappers
// and the list's storage come from the process-wide heap the library also
// uses (the process heap on Windows, malloc elsewhere), so either side may
// free what the other allocated.
//
//     CLAnsiStr line("port = 8080");
//     CLAnsiStrList fields(8);
//     if (SplitNamedEquA(line.c_str(), &fields, true, '='))
//       std::cout << fields[0].view() << " is " << fields[1].view() << '\n';
//
// CLAnsiStr / CLWideStr: `handle` is the wrapped handle, `owned` says whether
// the wrapper destroys it when it ends. A default-constructed wrapper owns a
// fresh empty handle, which is what the slots of SplitBySepA/W need.
//
// CLAnsiStrList / CLWideStrList: `growBy` slots are added whenever the list is
// full; `capacity` slots exist, each holding a live wrapper that owns its
// handle; the first `count` of them hold the fields of the last split.
#ifndef QUARNEL_QUARNEL_HPP
#define QUARNEL_QUARNEL_HPP

#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "quarnel/quarnel.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace quarnel {

// The heap shared by the library and its hosts.
inline void* shared_heap_alloc(std::size_t bytes) noexcept {
#if defined(_WIN32)
  return HeapAlloc(GetProcessHeap(), 0, bytes);
#else
  return std::malloc(bytes);
#endif
}
inline void shared_heap_free(void* block) noexcept {
#if defined(_WIN32)
  HeapFree(GetProcessHeap(), 0, block);
#else
  std::free(block);
#endif
}

// The per-family functions a wrapper needs.
template <class Rec>
struct HandleOps;
template <>
struct HandleOps<LAnsiStrCore::LAnsiStrRec> {
  using Char = char;
  using Handle = LStrHandleA;
  static Handle alloc() { return LStrAllocA(); }
  static Handle from(const Char* s, int n) { return LStrAllocFromASzStrA(s, n); }
  static Handle clone(Handle h) { return LStrAllocCloneAA(h); }
  static void destroy(Handle h) noexcept { LStrDestroyA(h); }
  static const Char* text(Handle h) noexcept { return LStrCstrA(h); }
  static int length(Handle h) noexcept { return LStrLengthA(h); }
  static void assign(Handle h, const Char* s) { LStrAssignASzStrA(h, s, -1); }
};
template <>
struct HandleOps<LWideStrCore::LWideStrRec> {
  using Char = LWideChar;
  using Handle = LStrHandleW;
  static Handle alloc() { return LStrAllocW(); }
  static Handle from(const Char* s, int n) { return LStrAllocFromWSzStrW(s, n); }
  static Handle clone(Handle h) { return LStrAllocCloneWW(h); }
  static void destroy(Handle h) noexcept { LStrDestroyW(h); }
  static const Char* text(Handle h) noexcept { return LStrCstrW(h); }
  static int length(Handle h) noexcept { return LStrLengthW(h); }
  static void assign(Handle h, const Char* s) { LStrAssignWSzStrW(h, s, -1); }
};

// One handle and whether to destroy it. Copies clone the text into a new
// handle; moves transfer the handle.
template <class Rec>
class LStrWrapper {
  using Ops = HandleOps<Rec>;

 public:
  using Char = typename Ops::Char;
  using View = std::basic_string_view<Char>;

  Rec* handle;
  bool owned;

  LStrWrapper() : handle(Ops::alloc()), owned(true) {}
  explicit LStrWrapper(View text)
      : handle(Ops::from(text.data(), static_cast<int>(text.size()))), owned(true) {}
  explicit LStrWrapper(const Char* text) : handle(Ops::from(text, -1)), owned(true) {}
  // Wraps an existing handle; with take_ownership false the wrapper never
  // destroys it.
  LStrWrapper(Rec* h, bool take_ownership) noexcept : handle(h), owned(take_ownership) {}
  LStrWrapper(const LStrWrapper& other)
      : handle(other.handle ? Ops::clone(other.handle) : Ops::alloc()), owned(true) {}
  LStrWrapper(LStrWrapper&& other) noexcept
      : handle(std::exchange(other.handle, nullptr)), owned(std::exchange(other.owned, false)) {}
  LStrWrapper& operator=(LStrWrapper other) noexcept {
    std::swap(handle, other.handle);
    std::swap(owned, other.owned);
    return *this;
  }
  ~LStrWrapper() { End(); }

  // The ending rule: an owned handle is destroyed; the wrapper lets go of it.
  void End() noexcept {
    if (owned && handle) Ops::destroy(handle);
    handle = nullptr;
  }

  const Char* c_str() const noexcept { return handle ? Ops::text(handle) : empty(); }
  int length() const noexcept { return handle ? Ops::length(handle) : 0; }
  View view() const noexcept { return View(c_str(), static_cast<std::size_t>(length())); }
  std::basic_string<Char> str() const { return std::basic_string<Char>(view()); }

 private:
  static const Char* empty() noexcept {
    static const Char zero = 0;
    return &zero;
  }
};

// A growable list of wrappers, filled by the splitting functions.
template <class Rec>
class LStrWrapperList {
  using Ops = HandleOps<Rec>;

 public:
  using Wrapper = LStrWrapper<Rec>;

  std::int32_t growBy;
  std::int32_t capacity;
  std::int32_t count;
  Wrapper** items;

  explicit LStrWrapperList(std::int32_t grow_by = 16) noexcept
      : growBy(grow_by < 1 ? 1 : grow_by), capacity(0), count(0), items(nullptr) {}
  LStrWrapperList(const LStrWrapperList&) = delete;
  LStrWrapperList& operator=(const LStrWrapperList&) = delete;
  LStrWrapperList(LStrWrapperList&& other) noexcept
      : growBy(other.growBy),
        capacity(std::exchange(other.capacity, 0)),
        count(std::exchange(other.count, 0)),
        items(std::exchange(other.items, nullptr)) {}
  ~LStrWrapperList() { Clear(false); }

  // keep_storage true: forget the fields, keep every wrapper for reuse.
  // keep_storage false: end and free every wrapper and the array.
  void Clear(bool keep_storage) noexcept {
    if (!keep_storage && items) {
      for (std::int32_t i = 0; i < capacity; ++i) {
        if (Wrapper* w = items[i]) {
          w->~Wrapper();
          shared_heap_free(w);
        }
      }
      shared_heap_free(items);
      items = nullptr;
      capacity = 0;
    }
    count = 0;
  }

  // Adds growBy slots, each a new wrapper around a fresh empty handle. If
  // memory runs out part-way, the slots made so far stay in the list.
  void Grow() {
    std::int32_t step = growBy < 1 ? 1 : growBy;
    auto** bigger = static_cast<Wrapper**>(shared_heap_alloc(sizeof(Wrapper*) * (capacity + step)));
    if (!bigger) throw std::bad_alloc();
    for (std::int32_t i = 0; i < capacity; ++i) bigger[i] = items[i];
    shared_heap_free(items);
    items = bigger;
    for (std::int32_t i = 0; i < step; ++i) {
      Rec* h = Ops::alloc();
      void* block = shared_heap_alloc(sizeof(Wrapper));
      if (!block) {
        Ops::destroy(h);
        throw std::bad_alloc();
      }
      items[capacity++] = new (block) Wrapper(h, true);
    }
  }

  // Stores a zero-terminated text in the next slot, growing when full. The
  // slot keeps its handle (and that handle's index base).
  void Append(const typename Wrapper::Char* text) {
    if (count == capacity) Grow();
    Ops::assign(items[count++]->handle, text);
  }

  Wrapper& operator[](std::int32_t i) noexcept { return *items[i]; }
  const Wrapper& operator[](std::int32_t i) const noexcept { return *items[i]; }
  std::int32_t size() const noexcept { return count; }

  // Iteration over the fields of the last split.
  struct Iterator {
    Wrapper* const* at;
    Wrapper& operator*() const noexcept { return **at; }
    Iterator& operator++() noexcept {
      ++at;
      return *this;
    }
    bool operator!=(const Iterator& other) const noexcept { return at != other.at; }
  };
  Iterator begin() const noexcept { return {items}; }
  Iterator end() const noexcept { return {items + count}; }
};

}  // namespace quarnel

#endif  // QUARNEL_QUARNEL_HPP
