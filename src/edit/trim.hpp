// Stripping blank characters (codes 0 to 32) from the ends of a text.
#pragma once

#include "core/handle.hpp"

namespace quarnel::edit {

enum class Ends : unsigned char { left = 1, right = 2, both = 3 };

// A new handle (base 1) with the trimmed text. A keeps every byte between
// the ends; W ends the result before the first zero unit left in it.
core::ARec* trimmed(const core::ARec& h, Ends ends);
core::WRec* trimmed(const core::WRec& h, Ends ends);

// Trims h's own text; the base stays.
void trim_in_place(core::ARec& h, Ends ends);
void trim_in_place(core::WRec& h, Ends ends);

}  // namespace quarnel::edit
