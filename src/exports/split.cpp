// Exports: field splitting, and the list storage and shared heap that hosts
// release through the library. The last four cannot fail; crossing the boundary
// they still clear the thread's recorded failure, as every export does.
#include "split/split.hpp"

#include "core/memory.hpp"
#include "exports/boundary.hpp"

using namespace quarnel::split;

extern "C" {

// clang-format off
QUARNEL_EXPORT int QUARNEL_API SplitBySepA(const CLAnsiStr* source, char separator, int slotCount, CLAnsiStr* slots, bool trim) { return QUARNEL_BOUNDARY(handles(), by_separator(*source, separator, slotCount, slots, trim)); }
QUARNEL_EXPORT int QUARNEL_API SplitBySepW(const CLWideStr* source, LWideChar separator, int slotCount, CLWideStr* slots, bool trim) { return QUARNEL_BOUNDARY(handles(), by_separator(*source, separator, slotCount, slots, trim)); }
QUARNEL_EXPORT int QUARNEL_API SplitBySepExA(const CLAnsiStr* source, char separator, CLAnsiStrList* list, bool trim) { return QUARNEL_BOUNDARY(handles(), by_separator_into(*source, separator, *list, trim)); }
QUARNEL_EXPORT int QUARNEL_API SplitBySepExW(const CLWideStr* source, LWideChar separator, CLWideStrList* list, bool trim) { return QUARNEL_BOUNDARY(handles(), by_separator_into(*source, separator, *list, trim)); }
QUARNEL_EXPORT int QUARNEL_API SplitByFixedLayoutA(const CLAnsiStr* source, int fieldCount, const int* widths, CLAnsiStrList* list, bool trim) { return QUARNEL_BOUNDARY(handles(), by_layout(*source, fieldCount, widths, false, *list, trim)); }
QUARNEL_EXPORT int QUARNEL_API SplitByFixedLayoutW(const CLWideStr* source, int fieldCount, const int* widths, CLWideStrList* list, bool trim) { return QUARNEL_BOUNDARY(handles(), by_layout(*source, fieldCount, widths, false, *list, trim)); }
QUARNEL_EXPORT int QUARNEL_API SplitByFixedLayoutExA(const CLAnsiStr* source, int fieldCount, const int* columns, CLAnsiStrList* list, bool trim) { return QUARNEL_BOUNDARY(handles(), by_layout(*source, fieldCount, columns, true, *list, trim)); }
QUARNEL_EXPORT int QUARNEL_API SplitByFixedLayoutExW(const CLWideStr* source, int fieldCount, const int* columns, CLWideStrList* list, bool trim) { return QUARNEL_BOUNDARY(handles(), by_layout(*source, fieldCount, columns, true, *list, trim)); }
QUARNEL_EXPORT bool QUARNEL_API SplitNamedEquA(const char* text, CLAnsiStrList* list, bool trim, char separator) { return QUARNEL_BOUNDARY(handles(), name_value(text, *list, trim, separator)); }
QUARNEL_EXPORT bool QUARNEL_API SplitNamedEquW(const LWideChar* text, CLWideStrList* list, bool trim, LWideChar separator) { return QUARNEL_BOUNDARY(handles(), name_value(text, *list, trim, separator)); }

QUARNEL_EXPORT void* QUARNEL_API LStrHeapAlloc(int bytes) { return QUARNEL_BOUNDARY(handles(), quarnel::mem::heap_alloc_or_null(bytes)); }
QUARNEL_EXPORT void QUARNEL_API LStrHeapFree(void* block) { return QUARNEL_BOUNDARY(handles(), quarnel::mem::heap_free(block)); }
QUARNEL_EXPORT void QUARNEL_API LStrListEndA(CLAnsiStrList* list) { return QUARNEL_BOUNDARY(handles(), end_list(*list)); }
QUARNEL_EXPORT void QUARNEL_API LStrListEndW(CLWideStrList* list) { return QUARNEL_BOUNDARY(handles(), end_list(*list)); }
// clang-format on

}  // extern "C"
