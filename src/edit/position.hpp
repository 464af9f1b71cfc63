// The position rule at the edges of the editing exports: positions arrive in
// the handle's index base and go back in it; counts are never shifted.
#pragma once

#include <cstddef>

#include "edit/finder.hpp"

namespace quarnel::edit {

// The one-based position that `position` names under index base `base`.
// Computed in 64 bits, so no int argument can overflow it.
inline long long one_based(int position, int base) noexcept {
  return static_cast<long long>(position) + 1 - base;
}

// A zero-based index found in a handle's text (or npos), as the position the
// host receives: the index shifted by the base, or base - 1 for "not found".
inline int to_position(std::size_t index, int base) noexcept {
  return index == npos ? base - 1 : static_cast<int>(index) + base;
}

}  // namespace quarnel::edit
