// Exports: handle lifecycle, content access, assignment and comparison. Each
// line forwards to the internals inside the export boundary.
#include "core/access.hpp"
#include "core/lifecycle.hpp"
#include "exports/boundary.hpp"

using namespace quarnel::core;

extern "C" {

// clang-format off
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocA() { return QUARNEL_BOUNDARY(handles(), new_handle(AnsiStr())); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocW() { return QUARNEL_BOUNDARY(handles(), new_handle(WideStr())); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocCloneAA(LStrHandleA src) { return QUARNEL_BOUNDARY(handles(src), clone(*src)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocCloneWW(LStrHandleW src) { return QUARNEL_BOUNDARY(handles(src), clone(*src)); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocCloneWA(LStrHandleW src) { return QUARNEL_BOUNDARY(handles(src), clone_to_ansi(*src)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocCloneAW(LStrHandleA src) { return QUARNEL_BOUNDARY(handles(src), clone_to_wide(*src)); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromASzStrA(const char* text, int length) { return QUARNEL_BOUNDARY(handles(), new_handle(AnsiStr::copy(chosen_text(text, length)))); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromWSzStrA(const LWideChar* text, int length) { return QUARNEL_BOUNDARY(handles(), new_handle(to_ansi(chosen_text(text, length)))); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromASzStrW(const char* text, int length) { return QUARNEL_BOUNDARY(handles(), new_handle(to_wide(chosen_text(text, length)))); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromWSzStrW(const LWideChar* text, int length) { return QUARNEL_BOUNDARY(handles(), new_handle(WideStr::copy(chosen_text(text, length)))); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromCharA(char c) { return QUARNEL_BOUNDARY(handles(), ansi_from_char(c)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromCharW(LWideChar c) { return QUARNEL_BOUNDARY(handles(), wide_from_char(c)); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocStringOfCharA(char c, int count) { return QUARNEL_BOUNDARY(handles(), string_of_char<AnsiStr>(c, count)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocStringOfCharW(LWideChar c, int count) { return QUARNEL_BOUNDARY(handles(), string_of_char<WideStr>(c, count)); }
QUARNEL_EXPORT void QUARNEL_API LStrDestroyA(LStrHandleA h) { return QUARNEL_BOUNDARY(handle_or_null(h), destroy_handle(h)); }
QUARNEL_EXPORT void QUARNEL_API LStrDestroyW(LStrHandleW h) { return QUARNEL_BOUNDARY(handle_or_null(h), destroy_handle(h)); }
QUARNEL_EXPORT void QUARNEL_API LStrUniqueA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), make_unique(*h)); }
QUARNEL_EXPORT void QUARNEL_API LStrUniqueW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), static_cast<void>(h)); }
QUARNEL_EXPORT int QUARNEL_API LStrGetCharIndexBaseA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), h->charIndexBase); }
QUARNEL_EXPORT int QUARNEL_API LStrGetCharIndexBaseW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), h->charIndexBase); }
QUARNEL_EXPORT int QUARNEL_API LStrSetCharIndexBaseA(LStrHandleA h, int base) { return QUARNEL_BOUNDARY(handles(h), set_index_base(*h, base)); }
QUARNEL_EXPORT int QUARNEL_API LStrSetCharIndexBaseW(LStrHandleW h, int base) { return QUARNEL_BOUNDARY(handles(h), set_index_base(*h, base)); }

QUARNEL_EXPORT const char* QUARNEL_API LStrCstrA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), text_of(*h)); }
QUARNEL_EXPORT const LWideChar* QUARNEL_API LStrCstrW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), text_of(*h)); }
QUARNEL_EXPORT const LWideChar* QUARNEL_API LStrCbstrW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), text_of(*h)); }
QUARNEL_EXPORT LBSTR* QUARNEL_API LStrBSTRRef(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), &h->payload); }
QUARNEL_EXPORT int QUARNEL_API LStrLengthA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), static_cast<int>(length_of(*h))); }
QUARNEL_EXPORT int QUARNEL_API LStrLengthW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), static_cast<int>(length_of(*h))); }
QUARNEL_EXPORT int QUARNEL_API LStrSetLengthA(LStrHandleA h, int length) { return QUARNEL_BOUNDARY(handles(h), set_length(*h, length)); }
QUARNEL_EXPORT int QUARNEL_API LStrSetLengthW(LStrHandleW h, int length) { return QUARNEL_BOUNDARY(handles(h), set_length(*h, length)); }
QUARNEL_EXPORT char QUARNEL_API LStrGetCharAtA(LStrHandleA h, int position) { return QUARNEL_BOUNDARY(handles(h), *char_address(*h, position)); }
QUARNEL_EXPORT LWideChar QUARNEL_API LStrGetCharAtW(LStrHandleW h, int position) { return QUARNEL_BOUNDARY(handles(h), *char_address(*h, position)); }
QUARNEL_EXPORT void QUARNEL_API LStrSetCharAtA(LStrHandleA h, int position, char c) { return QUARNEL_BOUNDARY(handles(h), static_cast<void>(*char_address(*h, position) = c)); }
QUARNEL_EXPORT void QUARNEL_API LStrSetCharAtW(LStrHandleW h, int position, LWideChar c) { return QUARNEL_BOUNDARY(handles(h), static_cast<void>(*char_address(*h, position) = c)); }
QUARNEL_EXPORT char* QUARNEL_API LStrCharAddrAtA(LStrHandleA h, int position) { return QUARNEL_BOUNDARY(handles(h), char_address(*h, position)); }
QUARNEL_EXPORT LWideChar* QUARNEL_API LStrCharAddrAtW(LStrHandleW h, int position) { return QUARNEL_BOUNDARY(handles(h), char_address(*h, position)); }
QUARNEL_EXPORT int QUARNEL_API LStrAssignA(LStrHandleA dst, LStrHandleA src) { return QUARNEL_BOUNDARY(handles(dst, src), assign(*dst, *src)); }
QUARNEL_EXPORT int QUARNEL_API LStrAssignW(LStrHandleW dst, LStrHandleW src) { return QUARNEL_BOUNDARY(handles(dst, src), assign(*dst, *src)); }
QUARNEL_EXPORT int QUARNEL_API LStrAssignASzStrA(LStrHandleA h, const char* text, int length) { return QUARNEL_BOUNDARY(handles(h), assign_text(*h, chosen_text(text, length))); }
QUARNEL_EXPORT int QUARNEL_API LStrAssignWSzStrW(LStrHandleW h, const LWideChar* text, int length) { return QUARNEL_BOUNDARY(handles(h), assign_text(*h, chosen_text(text, length))); }
QUARNEL_EXPORT int QUARNEL_API LStrAppendA(LStrHandleA dst, LStrHandleA src) { return QUARNEL_BOUNDARY(handles(dst, src), append_text(*dst, view_of(*src))); }
QUARNEL_EXPORT int QUARNEL_API LStrAppendW(LStrHandleW dst, LStrHandleW src) { return QUARNEL_BOUNDARY(handles(dst, src), append_text(*dst, view_of(*src))); }
QUARNEL_EXPORT int QUARNEL_API LStrAppendASzStrA(LStrHandleA h, const char* text, int length) { return QUARNEL_BOUNDARY(handles(h), append_text(*h, chosen_text(text, length))); }
QUARNEL_EXPORT int QUARNEL_API LStrAppendWSzStrW(LStrHandleW h, const LWideChar* text, int length) { return QUARNEL_BOUNDARY(handles(h), append_text(*h, chosen_text(text, length))); }
QUARNEL_EXPORT const char* QUARNEL_API LStrAppendCharA(LStrHandleA h, char c) { return QUARNEL_BOUNDARY(handles(h), (append_text(*h, std::string_view(&c, 1)), text_of(*h))); }
QUARNEL_EXPORT LBSTR QUARNEL_API LStrAppendCharW(LStrHandleW h, LWideChar c) { return QUARNEL_BOUNDARY(handles(h), (append_text(*h, wstring_view(&c, c != 0)), h->payload)); }
QUARNEL_EXPORT int QUARNEL_API LStrCompareA(LStrHandleA a, LStrHandleA b) { return QUARNEL_BOUNDARY(handles(a, b), compare(*a, *b)); }
QUARNEL_EXPORT int QUARNEL_API LStrCompareICA(LStrHandleA a, LStrHandleA b) { return QUARNEL_BOUNDARY(handles(a, b), compare_ic(*a, *b)); }
QUARNEL_EXPORT int QUARNEL_API LStrCompareW(LStrHandleW a, LStrHandleW b) { return QUARNEL_BOUNDARY(handles(a, b), compare(*a, *b)); }
QUARNEL_EXPORT int QUARNEL_API LStrCompareICW(LStrHandleW a, LStrHandleW b) { return QUARNEL_BOUNDARY(handles(a, b), compare_ic(*a, *b)); }
// clang-format on

}  // extern "C"
