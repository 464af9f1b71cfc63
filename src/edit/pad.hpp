// Padding a text to a width with a fill character.
#pragma once

#include "core/handle.hpp"

namespace quarnel::edit {

enum class Side : unsigned char { left, right };

// A new handle (base 1): `width` characters, the fill on the given side; a
// clone of h when h already has `width` characters or more.
core::ARec* padded(const core::ARec& h, char fill, int width, Side side);
core::WRec* padded(const core::WRec& h, core::wchar fill, int width, Side side);

}  // namespace quarnel::edit
