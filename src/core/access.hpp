// Reading the text and the length, single characters, assignment, appending
// and comparison.
#pragma once

#include <cstring>

#include "core/handle.hpp"
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

int assign(ARec& dst, const ARec& src);
int assign(WRec& dst, const WRec& src);

// Replaces or extends the text with `text` (which may lie inside the handle's
// own payload). Returns the new length.
template <class Rec, class View>
int assign_text(Rec& h, View text) {
  install(h, FamilyOf<Rec>::Str::copy(text));
  return static_cast<int>(length_of(h));
}

template <class Rec, class View>
int append_text(Rec& h, View text) {
  if (!text.empty()) {
    View old = view_of(h);
    typename FamilyOf<Rec>::Str s(old.size() + text.size());
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
