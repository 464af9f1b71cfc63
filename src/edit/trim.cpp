#include "edit/trim.hpp"

#include <type_traits>

#include "edit/finder.hpp"

namespace quarnel::edit {
namespace {

template <class Char>
bool is_blank(Char c) noexcept {
  return static_cast<std::make_unsigned_t<Char>>(c) <= 0x20;
}

bool has(Ends ends, Ends end) noexcept {
  return (static_cast<unsigned>(ends) & static_cast<unsigned>(end)) != 0;
}

template <class Char>
std::basic_string_view<Char> kept(std::basic_string_view<Char> text, Ends ends) noexcept {
  std::size_t first = 0, last = text.size();
  if (has(ends, Ends::left))
    while (first < last && is_blank(text[first])) ++first;
  if (has(ends, Ends::right))
    while (last > first && is_blank(text[last - 1])) --last;
  text = text.substr(first, last - first);
  // The W result is a zero-terminated copy of what is left, so it stops at
  // the first zero unit still inside it.
  if constexpr (!std::is_same_v<Char, char>) text = up_to_zero(text);
  return text;
}

}  // namespace

core::ARec* trimmed(const core::ARec& h, Ends ends) {
  return core::new_handle(core::AnsiStr::copy(kept(core::view_of(h), ends)));
}

core::WRec* trimmed(const core::WRec& h, Ends ends) {
  return core::new_handle(core::WideStr::copy(kept(core::view_of(h), ends)));
}

// An unchanged text keeps its payload: nothing is allocated then.
void trim_in_place(core::ARec& h, Ends ends) {
  auto text = kept(core::view_of(h), ends);
  if (text.size() != core::length_of(h)) core::install(h, core::AnsiStr::copy(text));
}

void trim_in_place(core::WRec& h, Ends ends) {
  auto text = kept(core::view_of(h), ends);
  if (text.size() != core::length_of(h)) core::install(h, core::WideStr::copy(text));
}

}  // namespace quarnel::edit
