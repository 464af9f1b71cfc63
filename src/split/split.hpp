// The splitting operations behind the exports, one template per operation
// shared by both families.
#pragma once

#include "split/list.hpp"

namespace quarnel::split {

template <class Rec>
int by_separator(const LStrWrapper<Rec>& source, typename core::FamilyOf<Rec>::Char separator,
                 int slot_count, LStrWrapper<Rec>* slots, bool trim);

template <class Rec>
int by_separator_into(const LStrWrapper<Rec>& source, typename core::FamilyOf<Rec>::Char separator,
                      LStrWrapperList<Rec>& list, bool trim);

// `layout` holds field_count widths, or field_count (first, last) column
// pairs when `columns` is true.
template <class Rec>
int by_layout(const LStrWrapper<Rec>& source, int field_count, const int* layout, bool columns,
              LStrWrapperList<Rec>& list, bool trim);

template <class Rec>
bool name_value(const typename core::FamilyOf<Rec>::Char* text, LStrWrapperList<Rec>& list,
                bool trim, typename core::FamilyOf<Rec>::Char separator);

}  // namespace quarnel::split
