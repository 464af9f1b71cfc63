// Upper and lower case of a whole text, under the user's locale.
#pragma once

#include "core/handle.hpp"
#include "platform/case_map.hpp"

namespace quarnel::edit {

using platform::Case;

// A new handle (base 1) with the mapped text.
core::ARec* case_mapped(const core::ARec& h, Case to);
core::WRec* case_mapped(const core::WRec& h, Case to);

// Maps h's own text; the base stays.
void map_case_in_place(core::ARec& h, Case to);
void map_case_in_place(core::WRec& h, Case to);

}  // namespace quarnel::edit
