// Views of a line's fields: cutting by the substring rules, trimming blanks,
// and the zero-terminated form in which lists store their fields.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace quarnel::split {

// The characters a cut from 1-based `start` of `count` characters gives: a
// negative count takes the rest; a start past the end or a count below 1
// gives nothing; a start before the first character counts from it.
template <class Char>
std::basic_string_view<Char> cut(std::basic_string_view<Char> text, std::int64_t start,
                                 std::int64_t count) {
  auto length = static_cast<std::int64_t>(text.size());
  if (count < 0) count = length < start ? 0 : length - start + 1;
  if (start > length || count < 1) return {};
  if (start < 1) start = 1;
  return text.substr(static_cast<std::size_t>(start - 1),
                     static_cast<std::size_t>(std::min(count, length - start + 1)));
}

// Without the characters of code 0x20 and below at both ends.
template <class Char>
std::basic_string_view<Char> trim_blanks(std::basic_string_view<Char> text) {
  auto blank = [](Char c) { return static_cast<std::make_unsigned_t<Char>>(c) <= 0x20; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Up to the first zero character, as a zero-terminated copy would hold it.
template <class Char>
std::basic_string_view<Char> up_to_zero(std::basic_string_view<Char> text) {
  return text.substr(0, std::min(text.size(), text.find(Char{0})));
}

// A field trimmed as the family trims in place: A keeps inner zeros; W ends
// the result at the first zero left in the trimmed text.
inline std::string_view trimmed(std::string_view field) { return trim_blanks(field); }
template <class Char>
std::basic_string_view<Char> trimmed(std::basic_string_view<Char> field) {
  return up_to_zero(trim_blanks(field));
}

}  // namespace quarnel::split
