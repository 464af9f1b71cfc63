// Fixed-width records: one field per layout entry, cut by the substring
// rules, so short lines give empty or shortened fields and never fail.
#include "core/access.hpp"
#include "split/fields.hpp"
#include "split/split.hpp"

namespace quarnel::split {

template <class Rec>
int by_layout(const LStrWrapper<Rec>& source, int field_count, const int* layout, bool columns,
              LStrWrapperList<Rec>& list, bool trim) {
  require_live(source.handle, "the source");
  list.clear();
  PinnedText<Rec> line(core::view_of(*source.handle));
  auto text = line.text();
  // Fields are stored up to their first zero; one look at the whole line
  // spares a look at every field when it has none.
  const bool zeros = up_to_zero(text).size() != text.size();
  // Positions are kept 1-based and in 64 bits: the index base only shifts
  // them, and widths summed from hostile layouts must not overflow.
  long long start = 1;
  for (int i = 0; i < field_count; ++i) {
    long long count;
    if (columns) {
      start = layout[2 * i];
      count = static_cast<long long>(layout[2 * i + 1]) - start + 1;
    } else {
      count = layout[i];
    }
    auto field = cut_text(text, start, count);
    if (trim) field = trimmed(field);
    append_field(list, zeros ? up_to_zero(field) : field, line);
    if (!columns) start += count;
  }
  return list.count;
}

template int by_layout(const AWrapper&, int, const int*, bool, AList&, bool);
template int by_layout(const WWrapper&, int, const int*, bool, WList&, bool);

}  // namespace quarnel::split
