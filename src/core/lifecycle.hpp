// Creating, cloning, converting and destroying handles; uniqueness and the
// index base.
#pragma once

#include "core/handle.hpp"

namespace quarnel::core {

ARec* clone(const ARec& src);  // shares the payload
WRec* clone(const WRec& src);  // copies the BSTR
ARec* clone_to_ansi(const WRec& src);
WRec* clone_to_wide(const ARec& src);

ARec* ansi_from_char(char c);
WRec* wide_from_char(wchar c);

template <class Str>
auto* string_of_char(typename Str::Char c, int count) {
  Str s(count > 0 ? static_cast<std::size_t>(count) : 0);
  std::char_traits<typename Str::Char>::assign(s.data(), s.size(), c);
  return new_handle(std::move(s));
}

void make_unique(ARec& h);

template <class Rec>
int set_index_base(Rec& h, int base) noexcept {
  if (base != 0 && base != 1) return 0;
  h.charIndexBase = base;
  return 1;
}

}  // namespace quarnel::core
