// printf-style text into handles. Every result is sized by a measuring pass
// and filled by a second pass, both over copies of the caller's argument
// list, in storage of its own: the format and the arguments may be the
// destination's own text, which is replaced only at the end.
#pragma once

#include <cstdarg>

#include "core/handle.hpp"

namespace quarnel::convert {

template <class Rec>
using CharOf = typename core::FamilyOf<Rec>::Char;

// The formatted text as a payload; a null or empty format gives nothing.
template <class Str>
Str formatted(const typename Str::Char* format, va_list args);

// Replaces dest's text with the formatted text; returns its length.
template <class Rec>
int print_replace(Rec& dest, const CharOf<Rec>* format, va_list args);

// Appends the formatted text to dest's; returns the length appended.
template <class Rec>
int print_append(Rec& dest, const CharOf<Rec>* format, va_list args);

// A new handle holding `format`'s text (up to its first zero) formatted.
template <class Rec>
Rec* print_new(const Rec& format, va_list args);

}  // namespace quarnel::convert
