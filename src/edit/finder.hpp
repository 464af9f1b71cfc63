// Exact substring search over the units of either family: the engine behind
// the search exports, the multibyte-aware search and replacement.
//
// Texts are searched at memory speed: places where the pattern's first and
// last units both match are found many at a time (core/unit_scan.hpp) and
// checked one by one. Never in worse than linear time: a search whose
// candidate checks start to cost more than the distance they cover hands
// over to the two-way algorithm, which needs no memory and looks at each unit
// only a bounded number of times. Nothing here allocates. The same code runs
// on every platform, so the tests check what every build runs.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/wide_str.hpp"
#include "edit/two_way.hpp"

namespace quarnel::edit {

// Index of the first occurrence of `pattern` in `text`, comparing units
// exactly; npos when there is none. An empty pattern is found at 0.
std::size_t find(std::string_view text, std::string_view pattern) noexcept;
std::size_t find(core::wstring_view text, core::wstring_view pattern) noexcept;

// Index of the first `unit` in `text`, or npos.
std::size_t find_unit(std::string_view text, char unit) noexcept;
std::size_t find_unit(core::wstring_view text, core::wchar unit) noexcept;

// The text up to (not including) its first zero unit.
template <class Char>
std::basic_string_view<Char> up_to_zero(std::basic_string_view<Char> text) noexcept {
  std::size_t end = find_unit(text, Char{0});
  return end == npos ? text : text.substr(0, end);
}

}  // namespace quarnel::edit
