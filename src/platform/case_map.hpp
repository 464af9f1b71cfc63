// Case mapping of the A family under the current user's locale. (The W
// family maps by Unicode's own table, the same everywhere: edit/wide_case.)
//
// The function maps in place and never changes the length: a character whose
// other-case form would take a different number of bytes stays as it is, and
// so do characters without case, digits, punctuation and zero characters.
#pragma once

#include <cstddef>

#include "platform/platform.hpp"

namespace quarnel::platform {

enum class Case : unsigned char { lower, upper };

// Bytes in the process's ANSI code page, character by character: a
// double-byte character is mapped as one character.
void map_case(char* text, std::size_t count, Case to) noexcept;

}  // namespace quarnel::platform
