// Views of a line's fields as the lists store them: cut and trimmed by the
// editing rules, then taken as zero-terminated text.
#pragma once

#include <string_view>

#include "core/access.hpp"
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

// Stores a field in a slot: rewritten in place when the slot's payload is its
// own and has room (the rule for every slot), otherwise a new payload. The
// field may lie inside the slot's own payload when the slot is the source.
template <class Rec, class Char>
void store_field(Rec& slot, std::basic_string_view<Char> field) {
  if (!core::has_room(slot, field.size())) {
    core::assign_text(slot, field);
    return;
  }
  core::copy_units(slot.payload, field.data(), field.size());
  core::set_length_in_place(slot, field.size());
}

}  // namespace quarnel::split
