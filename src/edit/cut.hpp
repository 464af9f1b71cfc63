// Cutting pieces out of a handle's text into new handles, and inserting and
// deleting characters in place.
#pragma once

#include "core/handle.hpp"

namespace quarnel::edit {

using core::ARec;
using core::WRec;

// New handles (base 1) holding a copy of the piece.
ARec* substring(const ARec& h, int position, int count);
WRec* substring(const WRec& h, int position, int count);
ARec* left(const ARec& h, int count);
WRec* left(const WRec& h, int count);
ARec* right(const ARec& h, int count);
WRec* right(const WRec& h, int count);

// In place; both return the new length. `source` may be `h` itself.
int insert(ARec& h, const ARec& source, int position);
int insert(WRec& h, const WRec& source, int position);
int erase(ARec& h, int position, int count);
int erase(WRec& h, int position, int count);

}  // namespace quarnel::edit
