// Text that a call reads while it writes handles. A split reads its line
// from the source handle (or from a host's pointer, which may point into a
// handle's payload) and stores fields into other handles in the same call;
// when one of those handles is the one whose payload holds the line, storing
// a field would overwrite or free the text still to be read. The call asks
// guard(dst) before each write: the first time dst's payload holds the text,
// that payload is kept alive, unchanged, until the call ends:
//  - A: one more reference to the block, so the write gives dst a block of
//    its own and the text stays where it is, without a copy;
//  - W: a BSTR belongs to one handle, so dst is given a copy of it to be
//    written over, and the original, which the text lies in, is kept.
// When nothing aliases, the cost is one comparison per write.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

#include "core/handle.hpp"

namespace quarnel::core {

template <class Rec>
class PinnedText {
 public:
  using Char = typename FamilyOf<Rec>::Char;
  using View = std::basic_string_view<Char>;

  explicit PinnedText(View text) noexcept : text_(text) {}
  PinnedText(const PinnedText&) = delete;
  PinnedText& operator=(const PinnedText&) = delete;

  View text() const noexcept { return text_; }

  // Call before anything is written to `dst`. Once a payload is kept, no
  // handle can write the text's block any more (an A block then has two
  // references, a kept W payload belongs to no handle), so one is enough.
  void guard(Rec& dst) {
    if (kept_.data() == nullptr && holds_text(dst)) keep(dst);
  }

 private:
  // Whether the text starts inside dst's payload, its terminator included.
  bool holds_text(const Rec& dst) const noexcept {
    const auto first = reinterpret_cast<std::uintptr_t>(dst.payload);
    const auto at = reinterpret_cast<std::uintptr_t>(text_.data());
    return dst.payload != nullptr && at - first <= length_of(dst) * sizeof(Char);
  }
  void keep(ARec& dst) noexcept { kept_ = AnsiStr::share(dst.payload); }
  void keep(WRec& dst) {
    WideStr copy = WideStr::copy(view_of(dst));
    kept_ = WideStr::adopt(std::exchange(dst.payload, copy.release()));
  }

  View text_;
  typename FamilyOf<Rec>::Str kept_;
};

}  // namespace quarnel::core
