// Exports: printf-style formatting into handles. All are caller-cleans; the
// variadic ones start their argument list here and hand it to the internals
// as a va_list, which the internals only ever read through copies.
#include <cstdarg>

#include "convert/formatted.hpp"
#include "exports/boundary.hpp"

using namespace quarnel::core;
using namespace quarnel::convert;

namespace {

// Ends the argument list however the call is left.
struct ArgsEnd {
  va_list& args;
  ~ArgsEnd() { va_end(args); }
};

}  // namespace

extern "C" {

// clang-format off
QUARNEL_EXPORT LStrHandleA QUARNEL_CDECL _LStrFormatA(LStrHandleA format, ...) { va_list args; va_start(args, format); ArgsEnd end{args}; return QUARNEL_BOUNDARY(handles(format), print_new(*format, args)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_CDECL _LStrFormatW(LStrHandleW format, ...) { va_list args; va_start(args, format); ArgsEnd end{args}; return QUARNEL_BOUNDARY(handles(format), print_new(*format, args)); }
QUARNEL_EXPORT int QUARNEL_CDECL _LStrSprintfA(LStrHandleA dest, const char* format, ...) { va_list args; va_start(args, format); ArgsEnd end{args}; return QUARNEL_BOUNDARY(handles(dest), print_replace(*dest, format, args)); }
QUARNEL_EXPORT int QUARNEL_CDECL _LStrSprintfW(LStrHandleW dest, const LWideChar* format, ...) { va_list args; va_start(args, format); ArgsEnd end{args}; return QUARNEL_BOUNDARY(handles(dest), print_replace(*dest, format, args)); }
QUARNEL_EXPORT int QUARNEL_CDECL _LStrPrintfA(LStrHandleA dest, const char* format, ...) { va_list args; va_start(args, format); ArgsEnd end{args}; return QUARNEL_BOUNDARY(handles(dest), print_replace(*dest, format, args)); }
QUARNEL_EXPORT int QUARNEL_CDECL _LStrPrintfW(LStrHandleW dest, const LWideChar* format, ...) { va_list args; va_start(args, format); ArgsEnd end{args}; return QUARNEL_BOUNDARY(handles(dest), print_replace(*dest, format, args)); }
QUARNEL_EXPORT int QUARNEL_CDECL _LStrVPrintfA(LStrHandleA dest, const char* format, va_list args) { return QUARNEL_BOUNDARY(handles(dest), print_replace(*dest, format, args)); }
QUARNEL_EXPORT int QUARNEL_CDECL _LStrVPrintfW(LStrHandleW dest, const LWideChar* format, va_list args) { return QUARNEL_BOUNDARY(handles(dest), print_replace(*dest, format, args)); }
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatSprintfA(LStrHandleA dest, const char* format, ...) { va_list args; va_start(args, format); ArgsEnd end{args}; return QUARNEL_BOUNDARY(handles(dest), print_append(*dest, format, args)); }
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatSprintfW(LStrHandleW dest, const LWideChar* format, ...) { va_list args; va_start(args, format); ArgsEnd end{args}; return QUARNEL_BOUNDARY(handles(dest), print_append(*dest, format, args)); }
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatPrintfA(LStrHandleA dest, const char* format, ...) { va_list args; va_start(args, format); ArgsEnd end{args}; return QUARNEL_BOUNDARY(handles(dest), print_append(*dest, format, args)); }
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatPrintfW(LStrHandleW dest, const LWideChar* format, ...) { va_list args; va_start(args, format); ArgsEnd end{args}; return QUARNEL_BOUNDARY(handles(dest), print_append(*dest, format, args)); }
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatVPrintfA(LStrHandleA dest, const char* format, va_list args) { return QUARNEL_BOUNDARY(handles(dest), print_append(*dest, format, args)); }
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatVPrintfW(LStrHandleW dest, const LWideChar* format, va_list args) { return QUARNEL_BOUNDARY(handles(dest), print_append(*dest, format, args)); }
// clang-format on

}  // extern "C"
