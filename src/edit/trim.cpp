#include "edit/trim.hpp"

#include "core/access.hpp"
#include "edit/finder.hpp"

namespace quarnel::edit {

core::ARec* trimmed(const core::ARec& h, Ends ends) {
  return core::new_handle(core::AnsiStr::copy(trimmed_text(core::view_of(h), ends)));
}

core::WRec* trimmed(const core::WRec& h, Ends ends) {
  return core::new_handle(core::WideStr::copy(trimmed_text(core::view_of(h), ends)));
}

// An unchanged text keeps its payload; a private payload is trimmed where it
// is, so nothing is allocated then either.
template <class Rec>
void trim_own(Rec& h, Ends ends) {
  auto text = trimmed_text(core::view_of(h), ends);
  if (text.size() != core::length_of(h)) core::assign_text(h, text);
}

void trim_in_place(core::ARec& h, Ends ends) { trim_own(h, ends); }
void trim_in_place(core::WRec& h, Ends ends) { trim_own(h, ends); }

}  // namespace quarnel::edit
