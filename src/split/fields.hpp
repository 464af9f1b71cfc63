// Views of a line's fields as the lists store them: cut and trimmed by the
// editing rules, then taken as zero-terminated text.
#pragma once

#include <string_view>

#include "edit/cut.hpp"
#include "edit/finder.hpp"
#include "edit/trim.hpp"

namespace quarnel::split {

using edit::cut_text;
using edit::up_to_zero;

// A field trimmed at both ends, as the family's trimming leaves it.
template <class Char>
std::basic_string_view<Char> trimmed(std::basic_string_view<Char> field) noexcept {
  return edit::trimmed_text(field, edit::Ends::both);
}

}  // namespace quarnel::split
