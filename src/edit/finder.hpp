// Exact substring search over the units of either family: the engine behind
// the search exports, the multibyte-aware search and replacement.
//
// Texts are searched at memory speed where the platform offers it (memchr,
// memmem), and never in worse than linear time: a search whose candidate
// checks start to cost more than the distance they cover hands over to the
// two-way algorithm, which needs no memory and looks at each unit only a
// bounded number of times. Nothing here allocates.
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

namespace detail {

// The portable strategy behind find(): scans for the pattern's first unit and
// compares the rest at each hit; once the comparisons have cost well over
// the distance covered, finishes with the two-way search. Reachable on its
// own so that it is checked on every platform, including those where find()
// uses memmem for bytes.
std::size_t scan_and_check(std::string_view text, std::string_view pattern) noexcept;
std::size_t scan_and_check(core::wstring_view text, core::wstring_view pattern) noexcept;

}  // namespace detail
}  // namespace quarnel::edit
