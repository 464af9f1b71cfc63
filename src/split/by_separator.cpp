// Splitting at a separator character. The scan runs over the line's text
// directly instead of fetching each character through the
// single-character accessor; the one visible effect of that accessor, an A
// source receiving a private copy of a shared payload, is reproduced.
#include "core/access.hpp"
#include "core/lifecycle.hpp"
#include "split/fields.hpp"
#include "split/split.hpp"

namespace quarnel::split {
namespace {

// Where the field starting at `from` ends: the next separator or the end.
template <class Char>
std::size_t field_end(std::basic_string_view<Char> text, std::size_t from, Char separator) {
  const std::size_t at = edit::find_unit(text.substr(from), separator);
  return at == edit::npos ? text.size() : from + at;
}

// Reading characters of an A source makes its payload private first.
void prepare_source(core::ARec& h) {
  if (core::length_of(h) > 0) core::make_unique(h);
}
void prepare_source(core::WRec&) {}

// Calls `store` with each field of the source's line, while `more()` holds.
template <class Rec, class More, class Store>
void for_each_field(const LStrWrapper<Rec>& source, typename core::FamilyOf<Rec>::Char separator,
                    More more, Store store) {
  Rec& h = *source.handle;
  prepare_source(h);
  auto text = core::view_of(h);
  for (std::size_t start = 0; start < text.size() && more();) {
    std::size_t end = field_end(text, start, separator);
    store(text.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace

template <class Rec>
int by_separator(const LStrWrapper<Rec>& source, typename core::FamilyOf<Rec>::Char separator,
                 int slot_count, LStrWrapper<Rec>* slots, bool trim) {
  if (slot_count <= 0) return 0;
  int n = 0;
  for_each_field(
      source, separator, [&] { return n < slot_count; },
      [&](auto field) {
        Rec& slot = *slots[n++].handle;
        store_field(slot, field);
        // The slot holds the whole field; trimming works on the slot itself.
        if (trim) edit::trim_in_place(slot, edit::Ends::both);
      });
  for (int i = n; i < slot_count; ++i)
    core::install(*slots[i].handle, typename core::FamilyOf<Rec>::Str());
  return n;
}

template <class Rec>
int by_separator_into(const LStrWrapper<Rec>& source, typename core::FamilyOf<Rec>::Char separator,
                      LStrWrapperList<Rec>& list, bool trim) {
  list.clear();
  // Fields are stored up to their first zero; most lines have none, and one
  // look at the whole line spares a look at every field.
  auto line = core::view_of(*source.handle);
  bool zeros = up_to_zero(line).size() != line.size();
  for_each_field(
      source, separator, [] { return true; },
      [&](auto field) {
        if (trim) field = trimmed(field);
        store_field(next_slot(list), zeros ? up_to_zero(field) : field);
      });
  return list.count;
}

template int by_separator(const AWrapper&, char, int, AWrapper*, bool);
template int by_separator(const WWrapper&, core::wchar, int, WWrapper*, bool);
template int by_separator_into(const AWrapper&, char, AList&, bool);
template int by_separator_into(const WWrapper&, core::wchar, WList&, bool);

}  // namespace quarnel::split
