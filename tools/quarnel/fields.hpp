// Working with the fields that the library's splitting functions fill in.
#pragma once

#include <string_view>

#include "quarnel/quarnel.hpp"

namespace qtool {

// The text of a field that a splitting function stored, read from its
// record. The list forms store a field up to its first zero byte; fields of
// the fixed-slot form may hold zero bytes, and cut at the first one (as
// slot_text does) they read as the list forms'.
inline std::string_view field_text(const CLAnsiStr& field) { return field.view(); }
inline std::string_view slot_text(const CLAnsiStr& slot) { return slot.c_str(); }

}  // namespace qtool
