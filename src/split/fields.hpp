// Views of a line's fields as the lists store them: cut and trimmed by the
// editing rules, then taken as zero-terminated text.
#pragma once

#include <cstdint>
#include <cstring>
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

// Copies n units. Most fields are a few bytes long, where a library call
// costs more than the copy: up to 16 bytes go as two overlapping loads and
// stores, all loads first, so `to` may equal `from`.
template <class Char>
void copy_units(Char* to, const Char* from, std::size_t n) noexcept {
  const std::size_t bytes = n * sizeof(Char);
  auto* out = reinterpret_cast<unsigned char*>(to);
  const auto* in = reinterpret_cast<const unsigned char*>(from);
  auto pair = [&]<class Word>(Word) {
    Word head, tail;
    std::memcpy(&head, in, sizeof head);
    std::memcpy(&tail, in + bytes - sizeof tail, sizeof tail);
    std::memcpy(out, &head, sizeof head);
    std::memcpy(out + bytes - sizeof tail, &tail, sizeof tail);
  };
  if (bytes > 16)
    std::memmove(out, in, bytes);
  else if (bytes >= 8)
    pair(std::uint64_t{});
  else if (bytes >= 4)
    pair(std::uint32_t{});
  else if (bytes >= 2)
    pair(std::uint16_t{});
  else if (bytes == 1)
    *out = *in;
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
  copy_units(slot.payload, field.data(), field.size());
  core::set_length_in_place(slot, field.size());
}

}  // namespace quarnel::split
