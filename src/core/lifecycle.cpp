#include "core/lifecycle.hpp"

namespace quarnel::core {

ARec* clone(const ARec& src) { return new_handle(AnsiStr::share(src.payload)); }

WRec* clone(const WRec& src) { return new_handle(WideStr::copy(view_of(src))); }

ARec* clone_to_ansi(const WRec& src) {
  // Only the units before the first zero unit take part.
  return new_handle(to_ansi_to_zero(view_of(src)));
}

WRec* clone_to_wide(const ARec& src) { return new_handle(to_wide(view_of(src))); }

ARec* ansi_from_char(char c) { return new_handle(AnsiStr::copy({&c, 1})); }

WRec* wide_from_char(wchar c) {
  // A zero unit is the terminator of a one-unit text, so it gives nothing.
  return new_handle(WideStr::copy({&c, c == 0 ? 0u : 1u}));
}

void make_unique(ARec& h) {
  if (ansi_shared(h.payload)) install(h, AnsiStr::copy(view_of(h)));
}

}  // namespace quarnel::core
