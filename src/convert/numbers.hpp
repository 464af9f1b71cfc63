// Numbers into handles and back: what each number export does, once for
// both families. The regional settings are an argument; the exports pass
// the process's.
#pragma once

#include <cstdint>

#include "core/handle.hpp"
#include "platform/number_settings.hpp"

namespace quarnel::convert {

using platform::NumberSettings;

// Decimal text of a 64-bit value: A prints "%Li" / "%Lu", W converts as
// _i64tow / _ui64tow do.
template <class Str>
Str int64_text(std::int64_t value);
template <class Str>
Str uint64_text(std::uint64_t value);

// General text of a double: A as FloatToStr, W as the runtime Format with
// the module's wide "%g".
template <class Str>
Str double_text(double value, const NumberSettings& settings);

// IntToHex.
template <class Str>
Str hex_str(std::int32_t value, int digits);

// FloatToStrF with the low byte of `format` as the TFloatFormat code.
template <class Str>
Str float_to_str_f(double value, std::int32_t format, int precision, int digits,
                   const NumberSettings& settings);

// FormatFloat with the format handle's text up to its first zero character.
// W: an empty format handle gives "#error#".
template <class Rec>
Rec* format_float_handle(const Rec& format, double value, const NumberSettings& settings);

// "0x" (either case) followed by at least one more character selects the
// hexadecimal reading.
template <class Rec>
std::int32_t to_int(const Rec& h);  // throws EConvertError
template <class Rec>
std::int32_t to_int_def(const Rec& h, std::int32_t default_value) noexcept;
template <class Rec>
double to_double_def(const Rec& h, double default_value);

// Appends the decimal text of `value`; returns the handle's characters.
char* append_int(core::ARec& h, std::int32_t value);
core::wchar* append_int(core::WRec& h, std::int32_t value);

}  // namespace quarnel::convert
