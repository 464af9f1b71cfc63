#include "edit/search.hpp"

#include "core/char_rules.hpp"
#include "edit/finder.hpp"
#include "edit/lead_bytes.hpp"
#include "edit/position.hpp"

namespace quarnel::edit {
namespace {

using core::view_of;

template <class Rec, class View>
int position_of(const Rec& h, View pattern) noexcept {
  // An empty pattern is found nowhere here (find() places it at 0).
  return to_position(pattern.empty() ? npos : find(view_of(h), pattern), h.charIndexBase);
}

template <class Char>
std::basic_string_view<Char> zero_terminated(const Char* text) noexcept {
  return text ? std::basic_string_view<Char>(text) : std::basic_string_view<Char>();
}

// The zero-based index that `position` names in h's text, or npos when it
// lies outside the text.
template <class Rec>
std::size_t index_at(const Rec& h, int position) noexcept {
  const long long s = one_based(position, h.charIndexBase);
  return s >= 1 && s <= static_cast<long long>(core::length_of(h)) ? static_cast<std::size_t>(s - 1)
                                                                   : npos;
}

}  // namespace

int pos(const ARec& h, const ARec& pattern) noexcept { return position_of(h, view_of(pattern)); }
int pos(const WRec& h, const WRec& pattern) noexcept { return position_of(h, view_of(pattern)); }
int pos(const ARec& h, const char* pattern) noexcept {
  return position_of(h, zero_terminated(pattern));
}
int pos(const WRec& h, const core::wchar* pattern) noexcept {
  return position_of(h, zero_terminated(pattern));
}

int ansi_pos(const ARec& h, const ARec& pattern) noexcept {
  std::size_t at = find_on_boundary(up_to_zero(view_of(h)), up_to_zero(view_of(pattern)),
                                    LeadBytes::of_process());
  return to_position(at, h.charIndexBase);
}

bool is_delimiter(const ARec& h, const ARec& delimiters, int position) noexcept {
  std::size_t i = index_at(h, position);
  return i != npos && is_delimiter_at(view_of(h), i, view_of(delimiters), LeadBytes::of_process());
}

bool is_delimiter(const WRec& h, const WRec& delimiters, int position) noexcept {
  std::size_t i = index_at(h, position);
  if (i == npos) return false;
  const core::wchar c = view_of(h)[i];
  return c != 0 && find_unit(up_to_zero(view_of(delimiters)), c) != npos;
}

bool is_path_delimiter(const ARec& h, int position) noexcept {
  std::size_t i = index_at(h, position);
  if (i == npos || view_of(h)[i] != '\\') return false;
  const LeadBytes& lead = LeadBytes::of_process();
  return !lead.any() || byte_kind(view_of(h), i, lead) == ByteKind::single;
}

bool is_path_delimiter(const WRec& h, int position) noexcept {
  std::size_t i = index_at(h, position);
  return i != npos && view_of(h)[i] == u'\\';
}

int last_delimiter(const ARec& h, const ARec& delimiters) noexcept {
  return to_position(last_delimiter(view_of(h), view_of(delimiters), LeadBytes::of_process()),
                     h.charIndexBase);
}

int last_delimiter(const WRec& h, const WRec& delimiters) noexcept {
  const core::wstring_view text = view_of(h), set = up_to_zero(view_of(delimiters));
  std::size_t found = npos;
  if (set.size() <= 8) {
    // A handful of delimiters: compare each unit with all of them.
    for (std::size_t i = text.size(); i-- > 0 && found == npos;)
      if (text[i] != 0 && set.find(text[i]) != set.npos) found = i;
  } else {
    // More: one bit per possible unit (8 KB), so long sets cost no more.
    chars::UnitSet<0x10000> bits;
    for (core::wchar c : set) bits.add(c);
    for (std::size_t i = text.size(); i-- > 0 && found == npos;)
      if (bits.has(text[i])) found = i;
  }
  return to_position(found, h.charIndexBase);
}

char* last_char(const ARec& h) noexcept {
  if (core::length_of(h) == 0) return nullptr;
  return h.payload + last_char_start(view_of(h), LeadBytes::of_process());
}

core::wchar* last_char(const WRec& h) noexcept {
  std::size_t n = core::length_of(h);
  return n == 0 ? nullptr : h.payload + (n - 1);
}

}  // namespace quarnel::edit
