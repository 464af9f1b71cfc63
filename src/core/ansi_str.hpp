// The A payload: a reference-counted, copy-on-write counted byte string kept
// in one heap block. The payload pointer addresses the first character; the
// header sits just before it, so the length is the 32 bits at payload - 4.
//
//   offset  0  int32  capacity: characters the block holds, terminator aside
//           4  uint16 code page
//           6  uint16 bookkeeping (element size, never read back)
//           8  int32  reference count (atomic)
//          12  int32  length in bytes
//          16  characters, then one zero byte
//
// Hosts read the fields back from the payload pointer (length at -4, count
// at -8, code page at -12); the capacity at -16 lets the C++ wrapper append
// in place to a block it alone holds without a call into the library.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

namespace quarnel::core {

struct AnsiHeader {
  std::int32_t capacity;
  std::uint16_t codePage;
  std::uint16_t bookkeeping;
  std::int32_t refCount;
  std::int32_t length;
};
static_assert(sizeof(AnsiHeader) == 16);
static_assert(offsetof(AnsiHeader, capacity) == 0);
static_assert(offsetof(AnsiHeader, codePage) == 4);
static_assert(offsetof(AnsiHeader, bookkeeping) == 6);
static_assert(offsetof(AnsiHeader, refCount) == 8);
static_assert(offsetof(AnsiHeader, length) == 12);

// The longest A text, a promise hosts build on: the length and the capacity
// stay positive signed 32-bit numbers, and the block (at most 0x80000003
// bytes) is still a size a 32-bit process can ask for.
inline constexpr std::size_t kMaxLengthA = 0x7FFFFFF2;

// Every block has room for at least this many characters: a 32-byte block,
// the smallest most heaps hand out for it anyway.
inline constexpr std::size_t kMinRoomA = 32 - sizeof(AnsiHeader) - 1;

inline AnsiHeader* ansi_header(const char* payload) noexcept {
  return reinterpret_cast<AnsiHeader*>(const_cast<char*>(payload) - sizeof(AnsiHeader));
}
inline std::size_t ansi_length(const char* payload) noexcept {
  return payload ? static_cast<std::size_t>(ansi_header(payload)->length) : 0;
}
// The block's reference count, only ever changed atomically.
inline std::atomic_ref<std::int32_t> ansi_ref_count(const char* payload) noexcept {
  return std::atomic_ref<std::int32_t>(ansi_header(payload)->refCount);
}
inline bool ansi_shared(const char* payload) noexcept {
  return payload && ansi_ref_count(payload).load(std::memory_order_acquire) > 1;
}
// Bytes the payload's block can hold without being reallocated.
inline std::size_t ansi_room(const char* payload) noexcept {
  return static_cast<std::size_t>(ansi_header(payload)->capacity);
}

// Owns one reference to an A block, or nothing (the empty string). Moving
// transfers the reference; destruction drops it and frees the block when it
// was the last one.
class AnsiStr {
 public:
  using Char = char;

  AnsiStr() noexcept = default;
  // A private block of `length` bytes whose characters the caller fills in,
  // with room for at least `capacity` bytes. Length 0 gives the empty string
  // (no block).
  explicit AnsiStr(std::size_t length, std::size_t capacity = 0);
  static AnsiStr copy(std::string_view text);
  // Takes one more reference to an existing payload (which may be null).
  static AnsiStr share(char* payload) noexcept;
  // Takes over a reference the caller already holds.
  static AnsiStr adopt(char* payload) noexcept {
    AnsiStr s;
    s.p_ = payload;
    return s;
  }

  AnsiStr(AnsiStr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  AnsiStr& operator=(AnsiStr&& other) noexcept {
    AnsiStr(std::move(other)).swap(*this);
    return *this;
  }
  AnsiStr(const AnsiStr&) = delete;
  AnsiStr& operator=(const AnsiStr&) = delete;
  // Inline for the common case of nothing to drop (moved-from or empty).
  ~AnsiStr() {
    if (p_) drop();
  }

  void swap(AnsiStr& other) noexcept { std::swap(p_, other.p_); }
  char* data() const noexcept { return p_; }
  std::size_t size() const noexcept { return ansi_length(p_); }
  std::string_view view() const noexcept { return {p_ ? p_ : "", size()}; }
  char* release() noexcept { return std::exchange(p_, nullptr); }

 private:
  void drop() noexcept;
  char* p_ = nullptr;
};

}  // namespace quarnel::core
