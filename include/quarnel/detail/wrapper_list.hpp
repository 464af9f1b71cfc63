// Implementation details of quarnel.hpp: hosts include quarnel.hpp and must
// not rely on anything here.
//
// The wrapper-list rules are written once, here, and serve both sides: the
// host's list methods, which make handles through the exported functions,
// and the library's splitting, which makes them directly. `Ops` says how a
// handle is made (`alloc`) and destroyed (`destroy`). Every block comes from
// LStrHeapAlloc, the one heap the library shares with its hosts.
#ifndef QUARNEL_DETAIL_WRAPPER_LIST_HPP
#define QUARNEL_DETAIL_WRAPPER_LIST_HPP

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>

#include "quarnel/detail/support.hpp"
#include "quarnel/quarnel.h"

namespace quarnel::detail {

// The 32-bit length word that stands just before a payload's first unit.
inline std::int32_t length_word(const void* payload) noexcept {
  std::int32_t word;
  std::memcpy(&word, static_cast<const char*>(payload) - sizeof word, sizeof word);
  return word;
}

// The A block's reference count, which other threads may change while this
// one reads it (atomically, so the read must be atomic too). Acquire: a
// count of 1 seen here follows every use of the block by the handles that
// dropped it.
inline std::int32_t ref_count_word(const char* payload) noexcept {
  const auto* count = reinterpret_cast<const std::int32_t*>(payload - 8);
#if defined(__GNUC__) || defined(__clang__)
  return __atomic_load_n(count, __ATOMIC_ACQUIRE);
#else
  // MSVC's volatile loads acquire on x86 and x64 (its default /volatile:ms).
  return *static_cast<const volatile std::int32_t*>(count);
#endif
}

// The per-family exported functions a host-side wrapper needs, and the reads
// that the handle records' documented layout allows without a call.
template <class Rec>
struct HandleOps;
template <>
struct HandleOps<LAnsiStrCore::LAnsiStrRec> {
  using Char = char;
  using Handle = LStrHandleA;
  // The longest text a handle holds.
  static constexpr std::size_t kMaxLength = 0x7FFFFFF2;
  // Each throws rather than return null, whatever the failure mode.
  static Handle alloc() { return made(LStrAllocA()); }
  static Handle from(const Char* s, int n) { return made(LStrAllocFromASzStrA(s, n)); }
  static Handle clone(Handle h) { return made(LStrAllocCloneAA(h)); }
  static void destroy(Handle h) noexcept { LStrDestroyA(h); }
  // Read from the record: the payload is the first byte and the 32 bits just
  // before it hold the length. Null is the empty string.
  static const Char* text(Handle h) noexcept { return h->payload ? h->payload : kEmpty; }
  static constexpr Char kEmpty[1] = {0};
  static int length(Handle h) noexcept { return h->payload ? length_word(h->payload) : 0; }
  static void assign(Handle h, const Char* s) { LStrAssignASzStrA(h, s, -1); }
  static int assign(Handle h, const Char* s, int n) { return LStrAssignASzStrA(h, s, n); }
  static int assign(Handle h, Handle from) { return LStrAssignA(h, from); }
  static int append(Handle h, const Char* s, int n) { return LStrAppendASzStrA(h, s, n); }
  // Appends without a call when the handle's block is its own (count 1:
  // no other handle can see the change) and has room for n more bytes (the
  // capacity word 16 bytes before the payload); false leaves everything to
  // the library, which copies a shared block and grows a full one by half
  // again, so a run of appends makes few calls. Nothing beyond the recorded
  // capacity, which never exceeds kMaxLength, is ever written.
  static bool append_in_place(Handle h, const Char* s, std::size_t n) noexcept {
    char* const p = h->payload;
    if (!p || ref_count_word(p) != 1) return false;
    std::int32_t capacity, length = length_word(p);
    std::memcpy(&capacity, p - 16, sizeof capacity);
    if (n > static_cast<std::size_t>(capacity - length)) return false;
    std::memmove(p + length, s, n);
    length += static_cast<std::int32_t>(n);
    p[length] = '\0';
    std::memcpy(p - sizeof length, &length, sizeof length);
    return true;
  }
  static int resize(Handle h, int n) { return LStrSetLengthA(h, n); }
  static Handle from_int(std::int64_t v) { return made(LStrAllocFromInt64A(v)); }
  static Handle from_uint(std::uint64_t v) { return made(LStrAllocFromUInt64A(v)); }
  static Handle from_double(double v) { return made(LStrAllocFromDoubleA(v)); }
  static int to_int(Handle h) { return LStrToIntA(h); }
  static Handle replaced(Handle h, const Char* s, const Char* r) {
    return made(LStrReplaceA(h, s, r));
  }
  static void end_list(CLAnsiStrList* list) noexcept { LStrListEndA(list); }
};
template <>
struct HandleOps<LWideStrCore::LWideStrRec> {
  using Char = LWideChar;
  using Handle = LStrHandleW;
  static constexpr std::size_t kMaxLength = 0x3FFFFFFF;
  static Handle alloc() { return made(LStrAllocW()); }
  static Handle from(const Char* s, int n) { return made(LStrAllocFromWSzStrW(s, n)); }
  static Handle clone(Handle h) { return made(LStrAllocCloneWW(h)); }
  static void destroy(Handle h) noexcept { LStrDestroyW(h); }
  // Read from the record: a BSTR's 32 bits before its first unit hold its
  // length in bytes. Null is the empty string.
  static const Char* text(Handle h) noexcept { return h->payload ? h->payload : kEmpty; }
  static int length(Handle h) noexcept {
    return h->payload ? static_cast<int>(static_cast<std::uint32_t>(length_word(h->payload)) / 2)
                      : 0;
  }
  static constexpr Char kEmpty[1] = {0};
  static void assign(Handle h, const Char* s) { LStrAssignWSzStrW(h, s, -1); }
  static int assign(Handle h, const Char* s, int n) { return LStrAssignWSzStrW(h, s, n); }
  static int assign(Handle h, Handle from) { return LStrAssignW(h, from); }
  static int append(Handle h, const Char* s, int n) { return LStrAppendWSzStrW(h, s, n); }
  // A BSTR records no spare room: every append is a call.
  static bool append_in_place(Handle, const Char*, std::size_t) noexcept { return false; }
  static int resize(Handle h, int n) { return LStrSetLengthW(h, n); }
  static Handle from_int(std::int64_t v) { return made(LStrAllocFromInt64W(v)); }
  static Handle from_uint(std::uint64_t v) { return made(LStrAllocFromUInt64W(v)); }
  static Handle from_double(double v) { return made(LStrAllocFromDoubleW(v)); }
  static int to_int(Handle h) { return LStrToIntW(h); }
  static Handle replaced(Handle h, const Char* s, const Char* r) {
    return made(LStrReplaceW(h, s, r));
  }
  static void end_list(CLWideStrList* list) noexcept { LStrListEndW(list); }
};

// One empty handle per thread and family, kept by an ending wrapper for the
// next moved-from one; destroyed when the thread ends.
template <class Rec>
struct SpareHandle {
  Rec* handle = nullptr;
  SpareHandle() = default;
  SpareHandle(const SpareHandle&) = delete;
  SpareHandle& operator=(const SpareHandle&) = delete;
  ~SpareHandle() {
    if (handle) HandleOps<Rec>::destroy(handle);
  }
};
template <class Rec>
Rec*& spare_handle() noexcept {
  thread_local SpareHandle<Rec> spare;
  return spare.handle;
}

inline void* heap_block(std::size_t bytes) {
  void* block = bytes <= static_cast<std::size_t>(std::numeric_limits<int>::max())
                    ? LStrHeapAlloc(static_cast<int>(bytes))
                    : nullptr;
  if (!block) throw std::bad_alloc();
  return block;
}

template <class Ops, class = void>
struct knows_block_slots : std::false_type {};
template <class Ops>
struct knows_block_slots<Ops, std::void_t<decltype(Ops::block_slots(nullptr))>> : std::true_type {};

// Adds growBy slots (one when growBy is below 1), each a new owning wrapper
// around a fresh empty handle. The list's capacity grows linearly, never by
// doubling. Slots made before a failure stay in the list, so it is always
// whole.
//
// When `Ops` can tell how many pointers the items block really holds
// (`block_slots`), the block itself is allocated with half as much again as
// is asked and reused while it has room, so a list grown by small steps to a
// great length costs linear time rather than a copy of every pointer at
// every step. Without it, every growth moves the pointers to a block of the
// exact new capacity.
template <class Ops, class List>
void grow_list(List& list) {
  using Wrapper = std::remove_pointer_t<std::remove_pointer_t<decltype(list.items)>>;
  const std::int32_t step = list.growBy < 1 ? 1 : list.growBy;
  if (list.capacity > std::numeric_limits<std::int32_t>::max() - step) throw std::bad_alloc();
  const auto wanted = static_cast<std::size_t>(list.capacity) + step;
  bool fits = false;
  std::size_t slots = wanted;
  if constexpr (knows_block_slots<Ops>::value) {
    fits = list.items && Ops::block_slots(list.items) >= wanted;
    const std::size_t roomy = static_cast<std::size_t>(list.capacity) + list.capacity / 2;
    if (roomy > slots) slots = roomy;
  }
  if (!fits) {
    auto** bigger = static_cast<Wrapper**>(heap_block(sizeof(Wrapper*) * slots));
    for (std::int32_t i = 0; i < list.capacity; ++i) bigger[i] = list.items[i];
    LStrHeapFree(list.items);
    list.items = bigger;
  }
  for (std::int32_t i = 0; i < step; ++i) {
    auto* handle = Ops::alloc();
    void* block;
    try {
      block = heap_block(sizeof(Wrapper));
    } catch (...) {
      Ops::destroy(handle);
      throw;
    }
    list.items[list.capacity++] = new (block) Wrapper(handle, true);
  }
}

// The handle of the next slot, growing the list when it is full. The count
// is not changed: a slot counts only once its text is stored, so a failure
// while storing leaves the count at the slots that hold their texts. A slot
// whose wrapper has lost its handle (a host moved it out, or ended it) gets
// a fresh one first.
template <class Ops, class List>
auto& next_slot(List& list) {
  if (list.count >= list.capacity) grow_list<Ops>(list);
  auto* wrapper = list.items[list.count];
  if (!wrapper->handle) {
    wrapper->handle = Ops::alloc();
    wrapper->owned = true;
  }
  return *wrapper->handle;
}

}  // namespace quarnel::detail

#endif  // QUARNEL_DETAIL_WRAPPER_LIST_HPP
