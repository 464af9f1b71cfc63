// What the two families have in common, expressed once: the family traits,
// the view of a handle's text, installing a new payload into a record, the
// length rule, and making and destroying records.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "core/ansi_str.hpp"
#include "core/memory.hpp"
#include "core/registry.hpp"
#include "core/wide_str.hpp"
#include "quarnel/quarnel.h"

namespace quarnel::core {

using ARec = LAnsiStrCore::LAnsiStrRec;
using WRec = LWideStrCore::LWideStrRec;

struct AnsiFamily {
  static constexpr registry::Family tag = registry::Family::ansi;
  using Char = char;
  using Rec = ARec;
  using Str = AnsiStr;
};
struct WideFamily {
  static constexpr registry::Family tag = registry::Family::wide;
  using Char = wchar;
  using Rec = WRec;
  using Str = WideStr;
};

template <class Rec>
struct FamilyOf;
template <>
struct FamilyOf<ARec> : AnsiFamily {};
template <>
struct FamilyOf<WRec> : WideFamily {};

// The read-only empty-string constants handed out for empty handles.
inline constexpr char kEmptyA[1] = {0};
inline constexpr wchar kEmptyW[1] = {0};

inline std::size_t length_of(const ARec& h) noexcept { return ansi_length(h.payload); }
inline std::size_t length_of(const WRec& h) noexcept { return bstr_length(h.payload); }

inline std::string_view view_of(const ARec& h) noexcept {
  return {h.payload ? h.payload : kEmptyA, length_of(h)};
}
inline wstring_view view_of(const WRec& h) noexcept {
  return {h.payload ? h.payload : kEmptyW, length_of(h)};
}

// Replaces the record's payload; the old one is released afterwards, so a
// payload may be replaced by a text derived from itself.
inline void install(ARec& h, AnsiStr&& s) noexcept {
  AnsiStr old = AnsiStr::adopt(h.payload);
  h.payload = s.release();
}
inline void install(WRec& h, WideStr&& s) noexcept {
  WideStr old = WideStr::adopt(h.payload);
  h.payload = s.release();
}

// The text chosen by a (pointer, length) pair: null or 0 is empty, a
// negative length runs to the terminating zero, n > 0 takes n characters.
template <class Char>
std::basic_string_view<Char> chosen_text(const Char* text, int length) noexcept {
  if (text == nullptr || length == 0) return {};
  if (length < 0) return {text, std::char_traits<Char>::length(text)};
  return {text, static_cast<std::size_t>(length)};
}

// A record under construction: freed with its payload if something throws
// before it is handed to the host. In checked-handles mode every record is
// registered from birth to release, so the boundary can tell a live handle
// from a destroyed or foreign one.
template <class Rec>
struct RecordDeleter {
  void operator()(Rec* h) const noexcept {
    FamilyOf<Rec>::Str::adopt(h->payload);
    if (registry::enabled())
      registry::discard(h);
    else
      mem::heap_free(h);
  }
};
template <class Rec>
using RecordPtr = std::unique_ptr<Rec, RecordDeleter<Rec>>;

template <class Rec>
RecordPtr<Rec> new_record() {
  auto* h = static_cast<Rec*>(mem::heap_alloc(sizeof(Rec)));
  h->payload = nullptr;
  h->charIndexBase = 1;
  RecordPtr<Rec> record(h);
  if (registry::enabled()) registry::add(h, FamilyOf<Rec>::tag);
  return record;
}

// A new handle (base 1) holding `content`.
template <class Str>
auto* new_handle(Str&& content) {
  using Rec = std::conditional_t<std::is_same_v<Str, AnsiStr>, ARec, WRec>;
  RecordPtr<Rec> h = new_record<Rec>();
  install(*h, std::move(content));
  return h.release();
}

// Releases a handle and its payload. In checked-handles mode the record's
// block waits in the registry's quarantine, its payload already released and
// its field cleared, so the address cannot come back while a host may still
// hold it.
template <class Rec>
void destroy_handle(Rec* h) noexcept {
  if (!h) return;
  if (!registry::enabled()) return RecordDeleter<Rec>()(h);
  FamilyOf<Rec>::Str::adopt(std::exchange(h->payload, nullptr));
  registry::retire(h);
}

// Conversions between the families through the process's ANSI code page.
AnsiStr to_ansi(wstring_view text);
// The units before the first zero unit of `text`, converted.
AnsiStr to_ansi_to_zero(wstring_view text);
WideStr to_wide(std::string_view text);

}  // namespace quarnel::core
