// Exports: numbers to text and back. Number text follows the process's
// regional settings.
#include "convert/numbers.hpp"

#include "exports/boundary.hpp"

using namespace quarnel::core;
using namespace quarnel::convert;

using quarnel::platform::number_settings;

extern "C" {

// clang-format off
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromInt64A(int64_t value) { return QUARNEL_BOUNDARY(handles(), new_handle(int64_text<AnsiStr>(value))); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromInt64W(int64_t value) { return QUARNEL_BOUNDARY(handles(), new_handle(int64_text<WideStr>(value))); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromUInt64A(uint64_t value) { return QUARNEL_BOUNDARY(handles(), new_handle(uint64_text<AnsiStr>(value))); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromUInt64W(uint64_t value) { return QUARNEL_BOUNDARY(handles(), new_handle(uint64_text<WideStr>(value))); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromDoubleA(double value) { return QUARNEL_BOUNDARY(handles(), new_handle(double_text<AnsiStr>(value, number_settings()))); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromDoubleW(double value) { return QUARNEL_BOUNDARY(handles(), new_handle(double_text<WideStr>(value, number_settings()))); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrIntToHexA(int value, int digits) { return QUARNEL_BOUNDARY(handles(), new_handle(hex_str<AnsiStr>(value, digits))); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrIntToHexW(int value, int digits) { return QUARNEL_BOUNDARY(handles(), new_handle(hex_str<WideStr>(value, digits))); }
QUARNEL_EXPORT int QUARNEL_API LStrToIntA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), to_int(*h)); }
QUARNEL_EXPORT int QUARNEL_API LStrToIntW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), to_int(*h)); }
QUARNEL_EXPORT int QUARNEL_API LStrToIntDefA(LStrHandleA h, int defaultValue) { return QUARNEL_BOUNDARY(handles(h), to_int_def(*h, defaultValue)); }
QUARNEL_EXPORT int QUARNEL_API LStrToIntDefW(LStrHandleW h, int defaultValue) { return QUARNEL_BOUNDARY(handles(h), to_int_def(*h, defaultValue)); }
QUARNEL_EXPORT double QUARNEL_API LStrToDoubleDefA(LStrHandleA h, double defaultValue) { return QUARNEL_BOUNDARY(handles(h), to_double_def(*h, defaultValue)); }
QUARNEL_EXPORT double QUARNEL_API LStrToDoubleDefW(LStrHandleW h, double defaultValue) { return QUARNEL_BOUNDARY(handles(h), to_double_def(*h, defaultValue)); }
QUARNEL_EXPORT char* QUARNEL_API LStrAppendIntValueA(LStrHandleA h, int value) { return QUARNEL_BOUNDARY(handles(h), append_int(*h, value)); }
QUARNEL_EXPORT LBSTR QUARNEL_API LStrAppendIntValueW(LStrHandleW h, int value) { return QUARNEL_BOUNDARY(handles(h), append_int(*h, value)); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrFloatToStrFA(double value, int format, int precision, int digits) { return QUARNEL_BOUNDARY(handles(), new_handle(float_to_str_f<AnsiStr>(value, format, precision, digits, number_settings()))); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrFloatToStrFW(double value, int format, int precision, int digits) { return QUARNEL_BOUNDARY(handles(), new_handle(float_to_str_f<WideStr>(value, format, precision, digits, number_settings()))); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrFormatFloatA(LStrHandleA format, const double* value) { return QUARNEL_BOUNDARY(handles(format), format_float_handle(*format, *value, number_settings())); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrFormatFloatW(LStrHandleW format, const double* value) { return QUARNEL_BOUNDARY(handles(format), format_float_handle(*format, *value, number_settings())); }
// clang-format on

}  // extern "C"
