// Searching a handle's text and testing single characters in it.
#pragma once

#include "core/handle.hpp"

namespace quarnel::edit {

using core::ARec;
using core::WRec;

// Position of the first occurrence of the pattern, by exact comparison of
// every unit (zero units included), or the not-found value. The pointer
// forms read the pattern up to its zero unit; null is an empty pattern.
int pos(const ARec& h, const ARec& pattern) noexcept;
int pos(const WRec& h, const WRec& pattern) noexcept;
int pos(const ARec& h, const char* pattern) noexcept;
int pos(const WRec& h, const core::wchar* pattern) noexcept;

// As pos(), on both texts up to their first zero byte, counting only
// occurrences that start on a character boundary of the ANSI code page.
int ansi_pos(const ARec& h, const ARec& pattern) noexcept;

bool is_delimiter(const ARec& h, const ARec& delimiters, int position) noexcept;
bool is_delimiter(const WRec& h, const WRec& delimiters, int position) noexcept;
bool is_path_delimiter(const ARec& h, int position) noexcept;
bool is_path_delimiter(const WRec& h, int position) noexcept;
int last_delimiter(const ARec& h, const ARec& delimiters) noexcept;
int last_delimiter(const WRec& h, const WRec& delimiters) noexcept;

// The start of the last character (A: of a double-byte one, its lead byte;
// W: simply the last unit), or null for an empty text.
char* last_char(const ARec& h) noexcept;
core::wchar* last_char(const WRec& h) noexcept;

}  // namespace quarnel::edit
