// Reading the text and the length, single characters, assignment, appending
// and comparison.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/handle.hpp"
#include "platform/platform.hpp"
#include "quarnel/errors.hpp"

namespace quarnel::core {

inline const char* text_of(const ARec& h) noexcept { return h.payload ? h.payload : kEmptyA; }
inline const wchar* text_of(const WRec& h) noexcept { return h.payload ? h.payload : kEmptyW; }

int set_length(ARec& h, int length);
int set_length(WRec& h, int length);

// The A accessors check the position and make the payload private first.
char* char_address(ARec& h, int position);
// The W accessors trust the caller to stay inside the text.
inline wchar* char_address(WRec& h, int position) noexcept {
  return reinterpret_cast<wchar*>(reinterpret_cast<std::uintptr_t>(h.payload) +
                                  static_cast<std::intptr_t>(position - h.charIndexBase) *
                                      static_cast<std::intptr_t>(sizeof(wchar)));
}

int assign(ARec& dst, const ARec& src) noexcept;
int assign(WRec& dst, const WRec& src);

// A private payload of `length` characters with room for `capacity`. Only
// our own BSTR layer can keep room: OLE's allocator sizes a BSTR by its
// length, and a length word shorter than the block is not ours to write
// there, so on Windows a BSTR is always exactly its length.
template <class Rec>
typename FamilyOf<Rec>::Str make_str(std::size_t length, std::size_t capacity) {
  if constexpr (std::is_same_v<Rec, ARec>) {
    return AnsiStr(length, capacity);
  } else {
#if defined(_WIN32)
    return WideStr(length);
#else
    // A length past the limit is refused by the constructor, not clamped.
    WideStr s(length == 0 ? 0 : std::max(length, std::min(capacity, kMaxLengthW)));
    if (s.data()) {
      const auto bytes = static_cast<std::uint32_t>(length * sizeof(wchar));
      std::memcpy(reinterpret_cast<char*>(s.data()) - sizeof bytes, &bytes, sizeof bytes);
      s.data()[length] = 0;
    }
    return s;
#endif
  }
}

// Copies n units. Most texts that splitting and replacement copy are a few
// bytes long, where a library call costs more than the copy: up to 16 bytes
// go as two overlapping loads and stores, all loads first, so `to` may equal
// `from`.
template <class Char>
void copy_units(Char* to, const Char* from, std::size_t n) noexcept {
  const std::size_t bytes = n * sizeof(Char);
  auto* out = reinterpret_cast<unsigned char*>(to);
  const auto* in = reinterpret_cast<const unsigned char*>(from);
  auto pair = [&]<class Word>(Word) {
    Word head, tail;
    std::memcpy(&head, in, sizeof head);
    std::memcpy(&tail, in + bytes - sizeof tail, sizeof tail);
    std::memcpy(out, &head, sizeof head);
    std::memcpy(out + bytes - sizeof tail, &tail, sizeof tail);
  };
  if (bytes > 16)
    std::memmove(out, in, bytes);
  else if (bytes >= 8)
    pair(std::uint64_t{});
  else if (bytes >= 4)
    pair(std::uint32_t{});
  else if (bytes >= 2)
    pair(std::uint16_t{});
  else if (bytes == 1)
    *out = *in;
}

// True when the handle's payload is its own and its block can hold `length`
// (> 0) characters, so it may be rewritten where it is instead of replaced.
// Reusing blocks is what lets a handle that is assigned over and over, such
// as a field slot of a split, stop allocating once its block is big enough.
// A block's recorded capacity never exceeds the longest text, so a text
// that would outgrow the limit falls through to a new payload, whose
// constructor refuses it.
inline bool has_room(const ARec& h, std::size_t length) noexcept {
  return h.payload && length > 0 && !ansi_shared(h.payload) && length <= ansi_room(h.payload);
}
inline bool has_room(const WRec& h, std::size_t length) noexcept {
  return h.payload && length > 0 && length <= kMaxLengthW &&
         length <= platform::bstr_capacity(h.payload);
}
// Sets the length of a payload that has_room() accepted; the characters up to
// `length` must already be in place.
inline void set_length_in_place(ARec& h, std::size_t length) noexcept {
  ansi_header(h.payload)->length = static_cast<std::int32_t>(length);
  h.payload[length] = '\0';
}
inline void set_length_in_place(WRec& h, std::size_t length) noexcept {
  auto bytes = static_cast<std::uint32_t>(length * sizeof(wchar));
  std::memcpy(reinterpret_cast<char*>(h.payload) - sizeof bytes, &bytes, sizeof bytes);
  h.payload[length] = 0;
}

// Replaces or extends the text with `text` (which may lie inside the handle's
// own payload). Returns the new length.
template <class Rec, class View>
int assign_text(Rec& h, View text) {
  if (has_room(h, text.size())) {
    std::memmove(h.payload, text.data(), text.size() * sizeof(text[0]));
    set_length_in_place(h, text.size());
  } else {
    install(h, FamilyOf<Rec>::Str::copy(text));
  }
  return static_cast<int>(length_of(h));
}

template <class Rec, class View>
int append_text(Rec& h, View text) {
  if (text.empty()) return static_cast<int>(length_of(h));
  View old = view_of(h);
  std::size_t length = old.size() + text.size();
  if (has_room(h, length)) {
    std::memmove(h.payload + old.size(), text.data(), text.size() * sizeof(text[0]));
    set_length_in_place(h, length);
  } else {
    // Spare room makes a run of appends linear overall.
    std::size_t spare = old.empty() ? 0 : length / 2;
    typename FamilyOf<Rec>::Str s = make_str<Rec>(length, length + spare);
    std::memcpy(s.data(), old.data(), old.size() * sizeof(old[0]));
    std::memcpy(s.data() + old.size(), text.data(), text.size() * sizeof(text[0]));
    install(h, std::move(s));
  }
  return static_cast<int>(length_of(h));
}

int compare(const ARec& a, const ARec& b) noexcept;
int compare(const WRec& a, const WRec& b) noexcept;
int compare_ic(const ARec& a, const ARec& b);
int compare_ic(const WRec& a, const WRec& b) noexcept;

}  // namespace quarnel::core
