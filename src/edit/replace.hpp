// Replacing every occurrence of one text by another, pass after pass.
#pragma once

#include "core/handle.hpp"

namespace quarnel::edit {

// A new handle (base 1) with the replaced text; h is not changed. `search`
// and `replacement` are zero-terminated and may be null (empty).
core::ARec* replaced(const core::ARec& h, const char* search, const char* replacement);
core::WRec* replaced(const core::WRec& h, const core::wchar* search,
                     const core::wchar* replacement);

}  // namespace quarnel::edit
