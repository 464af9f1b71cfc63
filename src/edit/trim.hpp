// Stripping blank characters (codes 0 to 32) from the ends of a text.
#pragma once

#include <type_traits>

#include "core/handle.hpp"
#include "edit/finder.hpp"

namespace quarnel::edit {

enum class Ends : unsigned char { left = 1, right = 2, both = 3 };

// The text between the blanks at the chosen ends.
template <class Char>
std::basic_string_view<Char> trimmed_ends(std::basic_string_view<Char> text, Ends ends) noexcept {
  auto blank = [](Char c) { return static_cast<std::make_unsigned_t<Char>>(c) <= 0x20; };
  std::size_t first = 0, last = text.size();
  if (static_cast<unsigned>(ends) & static_cast<unsigned>(Ends::left))
    while (first < last && blank(text[first])) ++first;
  if (static_cast<unsigned>(ends) & static_cast<unsigned>(Ends::right))
    while (last > first && blank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// What trimming leaves of a text. A keeps every byte between the ends; the
// W result is a zero-terminated copy of what is left, so it stops at the
// first zero unit still inside it.
template <class Char>
std::basic_string_view<Char> trimmed_text(std::basic_string_view<Char> text, Ends ends) noexcept {
  text = trimmed_ends(text, ends);
  if constexpr (!std::is_same_v<Char, char>) text = up_to_zero(text);
  return text;
}

// A new handle (base 1) with the trimmed text. A keeps every byte between
// the ends; W ends the result before the first zero unit left in it.
core::ARec* trimmed(const core::ARec& h, Ends ends);
core::WRec* trimmed(const core::WRec& h, Ends ends);

// Trims h's own text; the base stays.
void trim_in_place(core::ARec& h, Ends ends);
void trim_in_place(core::WRec& h, Ends ends);

}  // namespace quarnel::edit
