// The formatter behind the formatting exports: printf with the conventions
// Windows hosts write their formats for, for byte text and for UTF-16 text.
//
// Conversions: d i u o x X e E f F g G a A c C s S p %, flags - + space # 0,
// width and precision (also as *). Size prefixes: hh h l ll L j z t w, I
// (pointer-sized), I32 and I64; "L" on an integer conversion means 64 bits.
// Numbers come out exactly as C99 printf writes them ("%e" has at least two
// exponent digits, infinity is "inf"), on every platform. "%p" is written the
// Windows way: upper-case hexadecimal, two digits per byte of a pointer.
//
// Strings and characters follow the Windows rules: in the byte formatter %s
// and %c take byte text and %ls, %ws, %S, %lc, %wc, %C take UTF-16; in the
// UTF-16 formatter %s and %c take UTF-16 and %hs, %S, %hc, %C take byte text.
// Text of the other family is converted through the ANSI code page. A null
// string prints "(null)".
//
// "%n" (of any size) is refused: a format holding one throws EConvertError
// before any argument is read, because formats come from hosts and a count
// stored through a pointer argument would be a write anywhere in memory.
#pragma once

#include <cstdarg>
#include <cstddef>

#include "core/wide_str.hpp"

namespace quarnel::convert {

// Writes at most capacity - 1 units of the formatted text and a terminating
// zero into `out` (nothing at all when capacity is 0, so `out` may then be
// null) and returns the length of the whole text. `args` is not used up: the
// formatter reads a copy, so the same list can size and then fill a result.
// A length too large for a size_t comes back as SIZE_MAX; widths and
// precisions up to INT_MAX never overflow on the way.
std::size_t format_text(char* out, std::size_t capacity, const char* format, va_list args);
std::size_t format_text(core::wchar* out, std::size_t capacity, const core::wchar* format,
                        va_list args);

}  // namespace quarnel::convert
