// Exports: the wide-character bridge and strings from a module's string
// table. Each line forwards to the internals inside the export boundary.
#include "convert/load_string.hpp"
#include "convert/wide_bridge.hpp"
#include "exports/boundary.hpp"

using namespace quarnel::convert;

extern "C" {

// clang-format off
QUARNEL_EXPORT int QUARNEL_API LStrWideCharBufSizeA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), wide_buffer_size(*h)); }
QUARNEL_EXPORT LWideChar* QUARNEL_API LStrWideCharA(LStrHandleA h, LWideChar* buffer, int capacity) { return QUARNEL_BOUNDARY(handles(h), copy_to_wide(*h, buffer, capacity)); }
QUARNEL_EXPORT int QUARNEL_API LStrWideCharBufSizeW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), wide_byte_size(*h)); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocLoadStrA(void* module, int id) { return QUARNEL_BOUNDARY(handles(), load_string_ansi(module, id)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocLoadStrW(void* module, int id) { return QUARNEL_BOUNDARY(handles(), load_string_wide(module, id)); }
// clang-format on

}  // extern "C"
