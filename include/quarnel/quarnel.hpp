// quarnel.hpp - host-side C++ types for Quarnel: a wrapper that owns one
// string handle, and the growable wrapper list that the splitting functions
// fill.
//
// The types are plain classes whose fields, in order, are part of the
// library's interface: the library reads and writes them in place. Wrappers
// and the list's storage come from the heap the library shares with its
// hosts (LStrHeapAlloc / LStrHeapFree), so either side may free what the
// other allocated.
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
//
// Methods are lower case, as in the standard library. The earlier names
// (End, Clear, Grow, Append) remain as deprecated aliases.
#ifndef QUARNEL_QUARNEL_HPP
#define QUARNEL_QUARNEL_HPP

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "quarnel/detail/wrapper_list.hpp"
#include "quarnel/quarnel.h"

namespace quarnel {

// One handle and whether to destroy it. Copies clone the text into a new
// handle; moves transfer the handle.
template <class Rec>
class LStrWrapper {
  using Ops = detail::HandleOps<Rec>;

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
  ~LStrWrapper() { reset(); }

  // Ends the wrapper: an owned handle is destroyed; the wrapper lets go of it.
  void reset() noexcept {
    if (owned && handle) Ops::destroy(handle);
    handle = nullptr;
  }

  const Char* c_str() const noexcept { return handle ? Ops::text(handle) : empty(); }
  int length() const noexcept { return handle ? Ops::length(handle) : 0; }
  View view() const noexcept { return View(c_str(), static_cast<std::size_t>(length())); }
  std::basic_string<Char> str() const { return std::basic_string<Char>(view()); }

  [[deprecated("use reset()")]] void End() noexcept { reset(); }

 private:
  static const Char* empty() noexcept {
    static const Char zero = 0;
    return &zero;
  }
};

// A growable list of wrappers, filled by the splitting functions.
template <class Rec>
class LStrWrapperList {
  using Ops = detail::HandleOps<Rec>;

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
  ~LStrWrapperList() { reset(); }

  // Forgets the fields and keeps every wrapper for reuse.
  void clear() noexcept { count = 0; }
  // Ends and frees every wrapper and the array, as LStrListEndA/W do.
  void reset() noexcept { Ops::end_list(this); }

  // Adds growBy slots, each a new wrapper around a fresh empty handle. If
  // memory runs out part-way, the slots made so far stay in the list.
  void grow() { detail::grow_list<Ops>(*this); }

  // Stores a zero-terminated text in the next slot, growing when full. The
  // slot keeps its handle (and that handle's index base).
  void append(const typename Wrapper::Char* text) {
    Ops::assign(&detail::next_slot<Ops>(*this), text);
    ++count;
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

  [[deprecated("use clear() or reset()")]] void Clear(bool keep_storage) noexcept {
    keep_storage ? clear() : reset();
  }
  [[deprecated("use grow()")]] void Grow() { grow(); }
  [[deprecated("use append()")]] void Append(const typename Wrapper::Char* text) { append(text); }
};

}  // namespace quarnel

#endif  // QUARNEL_QUARNEL_HPP
