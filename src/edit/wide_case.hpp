// Case mapping of UTF-16 text by table. The user's locale maps every unit
// outside the surrogate range on its own, so its answer for each of them is
// asked once, when the table is first needed, and kept; after that a text is
// mapped at the speed of one lookup per unit. Surrogate pairs, which the
// locale may map as whole characters, still go to the locale function.
#pragma once

#include <algorithm>
#include <cstddef>

#include "core/wide_str.hpp"
#include "platform/case_map.hpp"

namespace quarnel::edit {

class WideCaseTable {
 public:
  // The table for one direction, built on first use and read-only after.
  static const WideCaseTable& of(platform::Case to) noexcept;

  explicit WideCaseTable(platform::Case to) noexcept;

  // What the table maps a unit outside the surrogate range to.
  core::wchar operator[](core::wchar unit) const noexcept { return map_[unit]; }

  // Writes the mapping of from[0, count) to to[0, count), as
  // platform::map_case would map it in place; `from` may be `to`.
  void map(const core::wchar* from, core::wchar* to, std::size_t count) const noexcept;

 private:
  // Maps the leading ASCII units many at a time; returns how many.
  std::size_t map_ascii(const core::wchar* from, core::wchar* to, std::size_t count) const noexcept;

  platform::Case to_;
  bool plain_ascii_;          // ASCII maps as in the C locale
  core::wchar map_[0x10000];  // surrogates map to themselves here
};

}  // namespace quarnel::edit
