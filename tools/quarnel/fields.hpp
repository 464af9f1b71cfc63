// Working with the fields that the library's splitting functions fill in.
#pragma once

#include <string_view>

#include "quarnel/quarnel.hpp"

namespace qtool {

// Before splitting `line` at `separator` into `list`, lets the list grow at
// once to the number of fields, so a line with millions of them costs
// linear time (the library adds growBy slots at each growth).
void prepare_list(CLAnsiStrList& list, std::string_view line, char separator);

// The text of a field that a splitting function stored. The list forms
// store a field up to its first zero byte, so its length is where the zero
// is: one call for the text instead of two. Fields of the fixed-slot form
// may hold zero bytes; cut the same way, they read as the list forms'.
inline std::string_view field_text(const CLAnsiStr& field) { return field.c_str(); }

}  // namespace qtool
