// Exports: searching, cutting, character tests, insertion and deletion, case,
// trimming, padding and replacement. Each line forwards to the internals
// inside the export boundary.
#include "edit/case.hpp"
#include "edit/cut.hpp"
#include "edit/pad.hpp"
#include "edit/replace.hpp"
#include "edit/search.hpp"
#include "edit/trim.hpp"
#include "exports/boundary.hpp"

using namespace quarnel::edit;

extern "C" {

// clang-format off
QUARNEL_EXPORT int QUARNEL_API LStrPosA(LStrHandleA h, LStrHandleA pattern) { return QUARNEL_BOUNDARY(handles(h, pattern), pos(*h, *pattern)); }
QUARNEL_EXPORT int QUARNEL_API LStrPosW(LStrHandleW h, LStrHandleW pattern) { return QUARNEL_BOUNDARY(handles(h, pattern), pos(*h, *pattern)); }
QUARNEL_EXPORT int QUARNEL_API LStrPosPtrA(LStrHandleA h, const char* pattern) { return QUARNEL_BOUNDARY(handles(h), pos(*h, pattern)); }
QUARNEL_EXPORT int QUARNEL_API LStrPosPtrW(LStrHandleW h, const LWideChar* pattern) { return QUARNEL_BOUNDARY(handles(h), pos(*h, pattern)); }
QUARNEL_EXPORT int QUARNEL_API LStrUnicodePosW(LStrHandleW h, LStrHandleW pattern) { return QUARNEL_BOUNDARY(handles(h, pattern), pos(*h, *pattern)); }
QUARNEL_EXPORT int QUARNEL_API LStrAnsiPosA(LStrHandleA h, LStrHandleA pattern) { return QUARNEL_BOUNDARY(handles(h, pattern), ansi_pos(*h, *pattern)); }

QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrSubStringA(LStrHandleA h, int pos, int count) { return QUARNEL_BOUNDARY(handles(h), substring(*h, pos, count)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrSubStringW(LStrHandleW h, int pos, int count) { return QUARNEL_BOUNDARY(handles(h), substring(*h, pos, count)); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrLeftA(LStrHandleA h, int count) { return QUARNEL_BOUNDARY(handles(h), left(*h, count)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrLeftW(LStrHandleW h, int count) { return QUARNEL_BOUNDARY(handles(h), left(*h, count)); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrRightA(LStrHandleA h, int count) { return QUARNEL_BOUNDARY(handles(h), right(*h, count)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrRightW(LStrHandleW h, int count) { return QUARNEL_BOUNDARY(handles(h), right(*h, count)); }

QUARNEL_EXPORT bool QUARNEL_API LStrIsDelimiterA(LStrHandleA h, LStrHandleA delimiters, int pos) { return QUARNEL_BOUNDARY(handles(h, delimiters), is_delimiter(*h, *delimiters, pos)); }
QUARNEL_EXPORT bool QUARNEL_API LStrIsDelimiterW(LStrHandleW h, LStrHandleW delimiters, int pos) { return QUARNEL_BOUNDARY(handles(h, delimiters), is_delimiter(*h, *delimiters, pos)); }
QUARNEL_EXPORT bool QUARNEL_API LStrIsPathDelimiterA(LStrHandleA h, int pos) { return QUARNEL_BOUNDARY(handles(h), is_path_delimiter(*h, pos)); }
QUARNEL_EXPORT bool QUARNEL_API LStrIsPathDelimiterW(LStrHandleW h, int pos) { return QUARNEL_BOUNDARY(handles(h), is_path_delimiter(*h, pos)); }
QUARNEL_EXPORT int QUARNEL_API LStrLastDelimiterA(LStrHandleA h, LStrHandleA delimiters) { return QUARNEL_BOUNDARY(handles(h, delimiters), last_delimiter(*h, *delimiters)); }
QUARNEL_EXPORT int QUARNEL_API LStrLastDelimiterW(LStrHandleW h, LStrHandleW delimiters) { return QUARNEL_BOUNDARY(handles(h, delimiters), last_delimiter(*h, *delimiters)); }
QUARNEL_EXPORT char* QUARNEL_API LStrAnsiLastCharA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), last_char(*h)); }
QUARNEL_EXPORT LWideChar* QUARNEL_API LStrUnicodeLastCharW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), last_char(*h)); }

QUARNEL_EXPORT int QUARNEL_API LStrInsertA(LStrHandleA h, LStrHandleA source, int pos) { return QUARNEL_BOUNDARY(handles(h, source), insert(*h, *source, pos)); }
QUARNEL_EXPORT int QUARNEL_API LStrInsertW(LStrHandleW h, LStrHandleW source, int pos) { return QUARNEL_BOUNDARY(handles(h, source), insert(*h, *source, pos)); }
QUARNEL_EXPORT int QUARNEL_API LStrDeleteA(LStrHandleA h, int pos, int count) { return QUARNEL_BOUNDARY(handles(h), erase(*h, pos, count)); }
QUARNEL_EXPORT int QUARNEL_API LStrDeleteW(LStrHandleW h, int pos, int count) { return QUARNEL_BOUNDARY(handles(h), erase(*h, pos, count)); }

QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrLowerCaseA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), case_mapped(*h, Case::lower)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrLowerCaseW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), case_mapped(*h, Case::lower)); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrUpperCaseA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), case_mapped(*h, Case::upper)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrUpperCaseW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), case_mapped(*h, Case::upper)); }
QUARNEL_EXPORT void QUARNEL_API LStrSelfLowerCaseA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), map_case_in_place(*h, Case::lower)); }
QUARNEL_EXPORT void QUARNEL_API LStrSelfLowerCaseW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), map_case_in_place(*h, Case::lower)); }
QUARNEL_EXPORT void QUARNEL_API LStrSelfUpperCaseA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), map_case_in_place(*h, Case::upper)); }
QUARNEL_EXPORT void QUARNEL_API LStrSelfUpperCaseW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), map_case_in_place(*h, Case::upper)); }

QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrTrimA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), trimmed(*h, Ends::both)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrTrimW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), trimmed(*h, Ends::both)); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrTrimLeftA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), trimmed(*h, Ends::left)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrTrimLeftW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), trimmed(*h, Ends::left)); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrTrimRightA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), trimmed(*h, Ends::right)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrTrimRightW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), trimmed(*h, Ends::right)); }
QUARNEL_EXPORT void QUARNEL_API LStrSelfTrimA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), trim_in_place(*h, Ends::both)); }
QUARNEL_EXPORT void QUARNEL_API LStrSelfTrimW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), trim_in_place(*h, Ends::both)); }
QUARNEL_EXPORT void QUARNEL_API LStrSelfTrimLeftA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), trim_in_place(*h, Ends::left)); }
QUARNEL_EXPORT void QUARNEL_API LStrSelfTrimLeftW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), trim_in_place(*h, Ends::left)); }
QUARNEL_EXPORT void QUARNEL_API LStrSelfTrimRightA(LStrHandleA h) { return QUARNEL_BOUNDARY(handles(h), trim_in_place(*h, Ends::right)); }
QUARNEL_EXPORT void QUARNEL_API LStrSelfTrimRightW(LStrHandleW h) { return QUARNEL_BOUNDARY(handles(h), trim_in_place(*h, Ends::right)); }

QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrPadLeftA(LStrHandleA h, char padChar, int width) { return QUARNEL_BOUNDARY(handles(h), padded(*h, padChar, width, Side::left)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrPadLeftW(LStrHandleW h, LWideChar padChar, int width) { return QUARNEL_BOUNDARY(handles(h), padded(*h, padChar, width, Side::left)); }
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrPadRightA(LStrHandleA h, char padChar, int width) { return QUARNEL_BOUNDARY(handles(h), padded(*h, padChar, width, Side::right)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrPadRightW(LStrHandleW h, LWideChar padChar, int width) { return QUARNEL_BOUNDARY(handles(h), padded(*h, padChar, width, Side::right)); }

QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrReplaceA(LStrHandleA h, const char* search, const char* replacement) { return QUARNEL_BOUNDARY(handles(h), replaced(*h, search, replacement)); }
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrReplaceW(LStrHandleW h, const LWideChar* search, const LWideChar* replacement) { return QUARNEL_BOUNDARY(handles(h), replaced(*h, search, replacement)); }
// clang-format on

}  // extern "C"
