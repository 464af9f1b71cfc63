#include "edit/wide_case.hpp"

namespace quarnel::edit {
namespace {

constexpr bool is_surrogate(core::wchar u) noexcept { return (u & 0xF800) == 0xD800; }

}  // namespace

const WideCaseTable& WideCaseTable::of(platform::Case to) noexcept {
  static const WideCaseTable lower(platform::Case::lower), upper(platform::Case::upper);
  return to == platform::Case::lower ? lower : upper;
}

WideCaseTable::WideCaseTable(platform::Case to) noexcept : to_(to) {
  for (unsigned u = 0; u < 0x10000; ++u) map_[u] = static_cast<core::wchar>(u);
  // Two calls, around the surrogates, rather than 63,488 of one unit each.
  platform::map_case(map_, 0xD800, to);
  platform::map_case(map_ + 0xE000, 0x2000, to);
}

void WideCaseTable::apply(core::wchar* text, std::size_t count) const noexcept {
  // One pass by table; surrogates come through it unchanged, and only when
  // there were any does a second pass hand their runs to the locale.
  bool surrogates = false;
  for (std::size_t i = 0; i < count; ++i) {
    const core::wchar u = text[i];
    surrogates |= is_surrogate(u);
    text[i] = map_[u];
  }
  if (!surrogates) return;
  for (std::size_t i = 0; i < count;) {
    if (!is_surrogate(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i + 1;
    while (end < count && is_surrogate(text[end])) ++end;
    platform::map_case(text + i, end - i, to_);
    i = end;
  }
}

}  // namespace quarnel::edit
