#include "edit/trim.hpp"

#include "core/access.hpp"
#include "core/unit_scan.hpp"
#include "edit/finder.hpp"

namespace quarnel::edit {

core::ARec* trimmed(const core::ARec& h, Ends ends) {
  return core::new_handle(core::AnsiStr::copy(trimmed_text(core::view_of(h), ends)));
}

core::WRec* trimmed(const core::WRec& h, Ends ends) {
  // The ends are found first; the stop at a zero unit is found while the
  // rest is copied, in the same pass. A zero inside is rare: only then is
  // the copy made again at its true length.
  const core::wstring_view text = trimmed_ends(core::view_of(h), ends);
  core::WideStr s(text.size());
  if (const std::size_t n = core::copy_to_zero(s.data(), text.data(), text.size());
      n != text.size())
    s = core::WideStr::copy(text.substr(0, n));
  return core::new_handle(std::move(s));
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
