// One writer per kind of conversion. Each takes the parsed conversion and
// the argument already read from the list, and writes the field.
#pragma once

#include <cstdint>

#include "convert/printf_output.hpp"
#include "core/wide_str.hpp"

namespace quarnel::convert {

// d i u o x X: the magnitude and whether the value was negative.
template <class Unit>
void write_integer(Output<Unit>& out, const Conversion& conv, std::uint64_t magnitude,
                   bool negative);

// p: upper-case hexadecimal, two digits per byte of a pointer.
template <class Unit>
void write_pointer(Output<Unit>& out, const Conversion& conv, const void* pointer);

// e E f F g G a A, for double and long double.
template <class Unit, class Float>
void write_floating(Output<Unit>& out, const Conversion& conv, Float value);

// s S: text of either family (`Source`), converted when it is not the
// output's; null prints "(null)".
template <class Unit, class Source>
void write_string(Output<Unit>& out, const Conversion& conv, const Source* text);

// c C: one unit of the family named by `wide`.
template <class Unit>
void write_character(Output<Unit>& out, const Conversion& conv, unsigned value, bool wide);

}  // namespace quarnel::convert
