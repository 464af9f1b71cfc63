// Case mapping of UTF-16 text: Unicode's simple (one character to one
// character) case mappings, the same on every platform and under every
// locale, from a table generated from the Unicode data
// (tools/gen_case_table.py). A text keeps its length: characters of the
// Basic Multilingual Plane map within it, and the few alphabets beyond it
// that have case (Deseret, Osage, Adlam, ...) map surrogate pair to
// surrogate pair. A surrogate that is not part of a pair stays as it is.
#pragma once

#include <cstddef>

#include "core/wide_str.hpp"
#include "platform/case_map.hpp"

namespace quarnel::edit {

class WideCaseTable {
 public:
  struct Data;  // the generated table of one direction

  // The table for one direction: read-only data, ready before any call.
  static const WideCaseTable& of(platform::Case to) noexcept;

  // What the table maps a unit of the BMP to (a surrogate to itself).
  core::wchar operator[](core::wchar unit) const noexcept;
  // What it maps any code point to.
  char32_t map_code_point(char32_t c) const noexcept;

  // The Unicode version the table was generated from, as major << 16 |
  // minor << 8 | update.
  static unsigned unicode_version() noexcept;

  // Writes the mapping of from[0, count) to to[0, count); `from` may be `to`.
  void map(const core::wchar* from, core::wchar* to, std::size_t count) const noexcept;

 private:
  constexpr explicit WideCaseTable(const Data& data, platform::Case to) noexcept
      : data_(&data), to_(to) {}

  // Maps the leading ASCII units many at a time; returns how many.
  std::size_t map_ascii(const core::wchar* from, core::wchar* to, std::size_t count) const noexcept;

  const Data* data_;
  platform::Case to_;
};

}  // namespace quarnel::edit
