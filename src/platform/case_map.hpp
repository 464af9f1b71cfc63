// Case mapping under the current user's locale, for the case exports.
//
// Both functions map in place and never change the length: a character whose
// other-case form would take a different number of bytes (A) or units (W)
// stays as it is, and so do characters without case, digits, punctuation and
// zero characters.
#pragma once

#include <cstddef>

#include "platform/platform.hpp"

namespace quarnel::platform {

enum class Case : unsigned char { lower, upper };

// Bytes in the process's ANSI code page, character by character: a
// double-byte character is mapped as one character.
void map_case(char* text, std::size_t count, Case to) noexcept;

// UTF-16, each unit on its own.
void map_case(wchar* text, std::size_t count, Case to) noexcept;

}  // namespace quarnel::platform
