#include "edit/pad.hpp"

#include <cstring>

#include "core/lifecycle.hpp"

namespace quarnel::edit {
namespace {

template <class Rec, class Char>
Rec* padded_to(const Rec& h, Char fill, int width, Side side) {
  const auto text = core::view_of(h);
  if (width <= static_cast<long long>(text.size())) return core::clone(h);
  typename core::FamilyOf<Rec>::Str s(static_cast<std::size_t>(width));
  const std::size_t run = s.size() - text.size();
  Char* fill_at = side == Side::left ? s.data() : s.data() + text.size();
  Char* text_at = side == Side::left ? s.data() + run : s.data();
  std::char_traits<Char>::assign(fill_at, run, fill);
  if (!text.empty()) std::memcpy(text_at, text.data(), text.size() * sizeof(Char));
  return core::new_handle(std::move(s));
}

}  // namespace

core::ARec* padded(const core::ARec& h, char fill, int width, Side side) {
  return padded_to(h, fill, width, side);
}
core::WRec* padded(const core::WRec& h, core::wchar fill, int width, Side side) {
  return padded_to(h, fill, width, side);
}

}  // namespace quarnel::edit
