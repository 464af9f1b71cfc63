// Views of a line's fields as the lists store them: cut and trimmed by the
// editing rules, then taken as zero-terminated text; and storing a field.
#pragma once

#include <string_view>

#include "core/access.hpp"
#include "core/pinned_text.hpp"
#include "edit/cut.hpp"
#include "edit/finder.hpp"
#include "edit/trim.hpp"
#include "split/list.hpp"

namespace quarnel::split {

using core::PinnedText;
using edit::cut_text;
using edit::up_to_zero;

// A field trimmed at both ends, as the family's trimming leaves it.
template <class Char>
std::basic_string_view<Char> trimmed(std::basic_string_view<Char> field) noexcept {
  return edit::trimmed_text(field, edit::Ends::both);
}

// Stores a field of `line` in a slot: rewritten in place when the slot's
// payload is its own and has room (the rule for every slot), otherwise a new
// payload. The slot may be the handle the line is read from: `line` keeps
// the text alive for the fields still to come.
template <class Rec, class Char>
void store_field(Rec& slot, std::basic_string_view<Char> field, PinnedText<Rec>& line) {
  line.guard(slot);
  if (!core::has_room(slot, field.size())) {
    core::assign_text(slot, field);
    return;
  }
  core::copy_units(slot.payload, field.data(), field.size());
  core::set_length_in_place(slot, field.size());
}

// Stores a field in the list's next slot, growing the list when it is full.
// The slot counts only once its field is stored, so a failure leaves the
// count at the fields stored before it.
template <class Rec, class Char>
void append_field(LStrWrapperList<Rec>& list, std::basic_string_view<Char> field,
                  PinnedText<Rec>& line) {
  store_field(free_slot(list), field, line);
  ++list.count;
}

}  // namespace quarnel::split
