// "name<separator>value" texts, split at the first separator.
#include "core/access.hpp"
#include "split/fields.hpp"
#include "split/split.hpp"

namespace quarnel::split {

template <class Rec>
bool name_value(const typename core::FamilyOf<Rec>::Char* text, LStrWrapperList<Rec>& list,
                bool trim, typename core::FamilyOf<Rec>::Char separator) {
  using View = std::basic_string_view<typename core::FamilyOf<Rec>::Char>;
  list.clear();
  // A zero separator would match the terminator; it splits nothing.
  if (text == nullptr || separator == 0) return false;
  View line(text);
  std::size_t at = line.find(separator);
  if (at == View::npos) return false;
  View name = line.substr(0, at), value = line.substr(at + 1);
  if (trim) {
    name = trimmed(name);
    value = trimmed(value);
  }
  // The text may lie in the payload of one of the list's own handles.
  PinnedText<Rec> pinned(line);
  append_field(list, name, pinned);
  append_field(list, value, pinned);
  return true;
}

template bool name_value(const char*, AList&, bool, char);
template bool name_value(const core::wchar*, WList&, bool, core::wchar);

}  // namespace quarnel::split
