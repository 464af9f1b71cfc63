// The A payload: a reference-counted, copy-on-write counted byte string kept
// in one heap block. The payload pointer addresses the first character; the
// header sits just before it, so the length is the 32 bits at payload - 4.
//
//   offset  0  uint16 code page
//           2  uint16 bookkeeping (element size, never read back)
//           4  int32  reference count (atomic)
//           8  int32  length in bytes
//          12  characters, then one zero byte
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

namespace quarnel::core {

struct AnsiHeader {
  std::uint16_t codePage;
  std::uint16_t bookkeeping;
  std::int32_t refCount;
  std::int32_t length;
};
static_assert(sizeof(AnsiHeader) == 12);
static_assert(offsetof(AnsiHeader, codePage) == 0);
static_assert(offsetof(AnsiHeader, bookkeeping) == 2);
static_assert(offsetof(AnsiHeader, refCount) == 4);
static_assert(offsetof(AnsiHeader, length) == 8);

// The longest A text: its block (header, characters, terminator) must stay
// within a signed 32-bit size.
inline constexpr std::size_t kMaxLengthA = 0x7FFFFFFFu - sizeof(AnsiHeader) - 1;

// Every block has room for at least this many characters: a 24-byte block,
// the smallest most heaps hand out anyway. Rewriting a short text in place
// then needs no question to the heap about the block's real size.
inline constexpr std::size_t kMinRoomA = 24 - sizeof(AnsiHeader) - 1;

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
std::size_t ansi_room(const char* payload) noexcept;

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
