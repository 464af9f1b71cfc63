"""Every export of the library: name -> (convention, result kind, argument kinds),
and the types the raw layer gives each one.

Generated from include/quarnel/quarnel.h by tools/check_bindings.py --write;
do not edit. A trailing "..." marks a variadic export.
"""
from typing import Any, Callable, Dict, Optional, Tuple

EXPORTS: Dict[str, Tuple[str, str, Tuple[str, ...]]] = {
    "LStrAllocA": ("api", "handle_a", ()),
    "LStrAllocW": ("api", "handle_w", ()),
    "LStrAllocCloneAA": ("api", "handle_a", ("handle_a",)),
    "LStrAllocCloneWW": ("api", "handle_w", ("handle_w",)),
    "LStrAllocCloneWA": ("api", "handle_a", ("handle_w",)),
    "LStrAllocCloneAW": ("api", "handle_w", ("handle_a",)),
    "LStrAllocFromASzStrA": ("api", "handle_a", ("text_a", "int")),
    "LStrAllocFromWSzStrA": ("api", "handle_a", ("text_w", "int")),
    "LStrAllocFromASzStrW": ("api", "handle_w", ("text_a", "int")),
    "LStrAllocFromWSzStrW": ("api", "handle_w", ("text_w", "int")),
    "LStrAllocFromCharA": ("api", "handle_a", ("char_a",)),
    "LStrAllocFromCharW": ("api", "handle_w", ("char_w",)),
    "LStrAllocStringOfCharA": ("api", "handle_a", ("char_a", "int")),
    "LStrAllocStringOfCharW": ("api", "handle_w", ("char_w", "int")),
    "LStrDestroyA": ("api", "void", ("handle_a",)),
    "LStrDestroyW": ("api", "void", ("handle_w",)),
    "LStrUniqueA": ("api", "void", ("handle_a",)),
    "LStrUniqueW": ("api", "void", ("handle_w",)),
    "LStrGetCharIndexBaseA": ("api", "int", ("handle_a",)),
    "LStrGetCharIndexBaseW": ("api", "int", ("handle_w",)),
    "LStrSetCharIndexBaseA": ("api", "int", ("handle_a", "int")),
    "LStrSetCharIndexBaseW": ("api", "int", ("handle_w", "int")),
    "LStrCstrA": ("api", "text_a", ("handle_a",)),
    "LStrCstrW": ("api", "text_w", ("handle_w",)),
    "LStrCbstrW": ("api", "text_w", ("handle_w",)),
    "LStrBSTRRef": ("api", "bstr_ref", ("handle_w",)),
    "LStrLengthA": ("api", "int", ("handle_a",)),
    "LStrLengthW": ("api", "int", ("handle_w",)),
    "LStrSetLengthA": ("api", "int", ("handle_a", "int")),
    "LStrSetLengthW": ("api", "int", ("handle_w", "int")),
    "LStrGetCharAtA": ("api", "char_a", ("handle_a", "int")),
    "LStrGetCharAtW": ("api", "char_w", ("handle_w", "int")),
    "LStrSetCharAtA": ("api", "void", ("handle_a", "int", "char_a")),
    "LStrSetCharAtW": ("api", "void", ("handle_w", "int", "char_w")),
    "LStrCharAddrAtA": ("api", "chars_a", ("handle_a", "int")),
    "LStrCharAddrAtW": ("api", "chars_w", ("handle_w", "int")),
    "LStrAssignA": ("api", "int", ("handle_a", "handle_a")),
    "LStrAssignW": ("api", "int", ("handle_w", "handle_w")),
    "LStrAssignASzStrA": ("api", "int", ("handle_a", "text_a", "int")),
    "LStrAssignWSzStrW": ("api", "int", ("handle_w", "text_w", "int")),
    "LStrAppendA": ("api", "int", ("handle_a", "handle_a")),
    "LStrAppendW": ("api", "int", ("handle_w", "handle_w")),
    "LStrAppendASzStrA": ("api", "int", ("handle_a", "text_a", "int")),
    "LStrAppendWSzStrW": ("api", "int", ("handle_w", "text_w", "int")),
    "LStrAppendCharA": ("api", "text_a", ("handle_a", "char_a")),
    "LStrAppendCharW": ("api", "chars_w", ("handle_w", "char_w")),
    "LStrCompareA": ("api", "int", ("handle_a", "handle_a")),
    "LStrCompareICA": ("api", "int", ("handle_a", "handle_a")),
    "LStrCompareW": ("api", "int", ("handle_w", "handle_w")),
    "LStrCompareICW": ("api", "int", ("handle_w", "handle_w")),
    "LStrPosA": ("api", "int", ("handle_a", "handle_a")),
    "LStrPosW": ("api", "int", ("handle_w", "handle_w")),
    "LStrPosPtrA": ("api", "int", ("handle_a", "text_a")),
    "LStrPosPtrW": ("api", "int", ("handle_w", "text_w")),
    "LStrUnicodePosW": ("api", "int", ("handle_w", "handle_w")),
    "LStrAnsiPosA": ("api", "int", ("handle_a", "handle_a")),
    "LStrSubStringA": ("api", "handle_a", ("handle_a", "int", "int")),
    "LStrSubStringW": ("api", "handle_w", ("handle_w", "int", "int")),
    "LStrLeftA": ("api", "handle_a", ("handle_a", "int")),
    "LStrLeftW": ("api", "handle_w", ("handle_w", "int")),
    "LStrRightA": ("api", "handle_a", ("handle_a", "int")),
    "LStrRightW": ("api", "handle_w", ("handle_w", "int")),
    "LStrIsDelimiterA": ("api", "bool", ("handle_a", "handle_a", "int")),
    "LStrIsDelimiterW": ("api", "bool", ("handle_w", "handle_w", "int")),
    "LStrIsPathDelimiterA": ("api", "bool", ("handle_a", "int")),
    "LStrIsPathDelimiterW": ("api", "bool", ("handle_w", "int")),
    "LStrLastDelimiterA": ("api", "int", ("handle_a", "handle_a")),
    "LStrLastDelimiterW": ("api", "int", ("handle_w", "handle_w")),
    "LStrAnsiLastCharA": ("api", "chars_a", ("handle_a",)),
    "LStrUnicodeLastCharW": ("api", "chars_w", ("handle_w",)),
    "LStrInsertA": ("api", "int", ("handle_a", "handle_a", "int")),
    "LStrInsertW": ("api", "int", ("handle_w", "handle_w", "int")),
    "LStrDeleteA": ("api", "int", ("handle_a", "int", "int")),
    "LStrDeleteW": ("api", "int", ("handle_w", "int", "int")),
    "LStrLowerCaseA": ("api", "handle_a", ("handle_a",)),
    "LStrLowerCaseW": ("api", "handle_w", ("handle_w",)),
    "LStrUpperCaseA": ("api", "handle_a", ("handle_a",)),
    "LStrUpperCaseW": ("api", "handle_w", ("handle_w",)),
    "LStrSelfLowerCaseA": ("api", "void", ("handle_a",)),
    "LStrSelfLowerCaseW": ("api", "void", ("handle_w",)),
    "LStrSelfUpperCaseA": ("api", "void", ("handle_a",)),
    "LStrSelfUpperCaseW": ("api", "void", ("handle_w",)),
    "LStrTrimA": ("api", "handle_a", ("handle_a",)),
    "LStrTrimW": ("api", "handle_w", ("handle_w",)),
    "LStrTrimLeftA": ("api", "handle_a", ("handle_a",)),
    "LStrTrimLeftW": ("api", "handle_w", ("handle_w",)),
    "LStrTrimRightA": ("api", "handle_a", ("handle_a",)),
    "LStrTrimRightW": ("api", "handle_w", ("handle_w",)),
    "LStrSelfTrimA": ("api", "void", ("handle_a",)),
    "LStrSelfTrimW": ("api", "void", ("handle_w",)),
    "LStrSelfTrimLeftA": ("api", "void", ("handle_a",)),
    "LStrSelfTrimLeftW": ("api", "void", ("handle_w",)),
    "LStrSelfTrimRightA": ("api", "void", ("handle_a",)),
    "LStrSelfTrimRightW": ("api", "void", ("handle_w",)),
    "LStrPadLeftA": ("api", "handle_a", ("handle_a", "char_a", "int")),
    "LStrPadLeftW": ("api", "handle_w", ("handle_w", "char_w", "int")),
    "LStrPadRightA": ("api", "handle_a", ("handle_a", "char_a", "int")),
    "LStrPadRightW": ("api", "handle_w", ("handle_w", "char_w", "int")),
    "LStrReplaceA": ("api", "handle_a", ("handle_a", "text_a", "text_a")),
    "LStrReplaceW": ("api", "handle_w", ("handle_w", "text_w", "text_w")),
    "SplitBySepA": ("api", "int", ("wrapper_a", "char_a", "int", "wrappers_a", "bool")),
    "SplitBySepW": ("api", "int", ("wrapper_w", "char_w", "int", "wrappers_w", "bool")),
    "SplitBySepExA": ("api", "int", ("wrapper_a", "char_a", "list_a", "bool")),
    "SplitBySepExW": ("api", "int", ("wrapper_w", "char_w", "list_w", "bool")),
    "SplitByFixedLayoutA": ("api", "int", ("wrapper_a", "int", "ints", "list_a", "bool")),
    "SplitByFixedLayoutW": ("api", "int", ("wrapper_w", "int", "ints", "list_w", "bool")),
    "SplitByFixedLayoutExA": ("api", "int", ("wrapper_a", "int", "ints", "list_a", "bool")),
    "SplitByFixedLayoutExW": ("api", "int", ("wrapper_w", "int", "ints", "list_w", "bool")),
    "SplitNamedEquA": ("api", "bool", ("text_a", "list_a", "bool", "char_a")),
    "SplitNamedEquW": ("api", "bool", ("text_w", "list_w", "bool", "char_w")),
    "LStrHeapAlloc": ("api", "pointer", ("int",)),
    "LStrHeapFree": ("api", "void", ("pointer",)),
    "LStrListEndA": ("api", "void", ("list_a",)),
    "LStrListEndW": ("api", "void", ("list_w",)),
    "LStrWideCharBufSizeA": ("api", "int", ("handle_a",)),
    "LStrWideCharA": ("api", "chars_w", ("handle_a", "chars_w", "int")),
    "LStrWideCharBufSizeW": ("api", "int", ("handle_w",)),
    "LStrAllocLoadStrA": ("api", "handle_a", ("pointer", "int")),
    "LStrAllocLoadStrW": ("api", "handle_w", ("pointer", "int")),
    "LStrAllocFromInt64A": ("api", "handle_a", ("int64",)),
    "LStrAllocFromInt64W": ("api", "handle_w", ("int64",)),
    "LStrAllocFromUInt64A": ("api", "handle_a", ("uint64",)),
    "LStrAllocFromUInt64W": ("api", "handle_w", ("uint64",)),
    "LStrAllocFromDoubleA": ("api", "handle_a", ("double",)),
    "LStrAllocFromDoubleW": ("api", "handle_w", ("double",)),
    "LStrIntToHexA": ("api", "handle_a", ("int", "int")),
    "LStrIntToHexW": ("api", "handle_w", ("int", "int")),
    "LStrToIntA": ("api", "int", ("handle_a",)),
    "LStrToIntW": ("api", "int", ("handle_w",)),
    "LStrToIntDefA": ("api", "int", ("handle_a", "int")),
    "LStrToIntDefW": ("api", "int", ("handle_w", "int")),
    "LStrToDoubleDefA": ("api", "double", ("handle_a", "double")),
    "LStrToDoubleDefW": ("api", "double", ("handle_w", "double")),
    "LStrAppendIntValueA": ("api", "chars_a", ("handle_a", "int")),
    "LStrAppendIntValueW": ("api", "chars_w", ("handle_w", "int")),
    "LStrFloatToStrFA": ("api", "handle_a", ("double", "int", "int", "int")),
    "LStrFloatToStrFW": ("api", "handle_w", ("double", "int", "int", "int")),
    "LStrFormatFloatA": ("api", "handle_a", ("handle_a", "double_ref")),
    "LStrFormatFloatW": ("api", "handle_w", ("handle_w", "double_ref")),
    "_LStrFormatA": ("cdecl", "handle_a", ("handle_a", "...")),
    "_LStrFormatW": ("cdecl", "handle_w", ("handle_w", "...")),
    "_LStrSprintfA": ("cdecl", "int", ("handle_a", "text_a", "...")),
    "_LStrSprintfW": ("cdecl", "int", ("handle_w", "text_w", "...")),
    "_LStrPrintfA": ("cdecl", "int", ("handle_a", "text_a", "...")),
    "_LStrPrintfW": ("cdecl", "int", ("handle_w", "text_w", "...")),
    "_LStrCatSprintfA": ("cdecl", "int", ("handle_a", "text_a", "...")),
    "_LStrCatSprintfW": ("cdecl", "int", ("handle_w", "text_w", "...")),
    "_LStrCatPrintfA": ("cdecl", "int", ("handle_a", "text_a", "...")),
    "_LStrCatPrintfW": ("cdecl", "int", ("handle_w", "text_w", "...")),
    "LStrSetFailureMode": ("api", "int", ("int",)),
    "LStrGetLastFailure": ("api", "uint", ("chars_a", "int")),
}


class Exports:
    """The raw layer's exports: handles and returned addresses are ints (a
    returned address is None when null), buffers and structures are ctypes
    objects. A failure raises the matching QuarnelError."""

    LStrAllocA: Callable[[], int]
    LStrAllocW: Callable[[], int]
    LStrAllocCloneAA: Callable[[Optional[int]], int]
    LStrAllocCloneWW: Callable[[Optional[int]], int]
    LStrAllocCloneWA: Callable[[Optional[int]], int]
    LStrAllocCloneAW: Callable[[Optional[int]], int]
    LStrAllocFromASzStrA: Callable[[Optional[bytes], int], int]
    LStrAllocFromWSzStrA: Callable[[Any, int], int]
    LStrAllocFromASzStrW: Callable[[Optional[bytes], int], int]
    LStrAllocFromWSzStrW: Callable[[Any, int], int]
    LStrAllocFromCharA: Callable[[bytes], int]
    LStrAllocFromCharW: Callable[[int], int]
    LStrAllocStringOfCharA: Callable[[bytes, int], int]
    LStrAllocStringOfCharW: Callable[[int, int], int]
    LStrDestroyA: Callable[[Optional[int]], None]
    LStrDestroyW: Callable[[Optional[int]], None]
    LStrUniqueA: Callable[[Optional[int]], None]
    LStrUniqueW: Callable[[Optional[int]], None]
    LStrGetCharIndexBaseA: Callable[[Optional[int]], int]
    LStrGetCharIndexBaseW: Callable[[Optional[int]], int]
    LStrSetCharIndexBaseA: Callable[[Optional[int], int], int]
    LStrSetCharIndexBaseW: Callable[[Optional[int], int], int]
    LStrCstrA: Callable[[Optional[int]], Optional[int]]
    LStrCstrW: Callable[[Optional[int]], Optional[int]]
    LStrCbstrW: Callable[[Optional[int]], Optional[int]]
    LStrBSTRRef: Callable[[Optional[int]], Optional[int]]
    LStrLengthA: Callable[[Optional[int]], int]
    LStrLengthW: Callable[[Optional[int]], int]
    LStrSetLengthA: Callable[[Optional[int], int], int]
    LStrSetLengthW: Callable[[Optional[int], int], int]
    LStrGetCharAtA: Callable[[Optional[int], int], bytes]
    LStrGetCharAtW: Callable[[Optional[int], int], int]
    LStrSetCharAtA: Callable[[Optional[int], int, bytes], None]
    LStrSetCharAtW: Callable[[Optional[int], int, int], None]
    LStrCharAddrAtA: Callable[[Optional[int], int], Optional[int]]
    LStrCharAddrAtW: Callable[[Optional[int], int], Optional[int]]
    LStrAssignA: Callable[[Optional[int], Optional[int]], int]
    LStrAssignW: Callable[[Optional[int], Optional[int]], int]
    LStrAssignASzStrA: Callable[[Optional[int], Optional[bytes], int], int]
    LStrAssignWSzStrW: Callable[[Optional[int], Any, int], int]
    LStrAppendA: Callable[[Optional[int], Optional[int]], int]
    LStrAppendW: Callable[[Optional[int], Optional[int]], int]
    LStrAppendASzStrA: Callable[[Optional[int], Optional[bytes], int], int]
    LStrAppendWSzStrW: Callable[[Optional[int], Any, int], int]
    LStrAppendCharA: Callable[[Optional[int], bytes], Optional[int]]
    LStrAppendCharW: Callable[[Optional[int], int], Optional[int]]
    LStrCompareA: Callable[[Optional[int], Optional[int]], int]
    LStrCompareICA: Callable[[Optional[int], Optional[int]], int]
    LStrCompareW: Callable[[Optional[int], Optional[int]], int]
    LStrCompareICW: Callable[[Optional[int], Optional[int]], int]
    LStrPosA: Callable[[Optional[int], Optional[int]], int]
    LStrPosW: Callable[[Optional[int], Optional[int]], int]
    LStrPosPtrA: Callable[[Optional[int], Optional[bytes]], int]
    LStrPosPtrW: Callable[[Optional[int], Any], int]
    LStrUnicodePosW: Callable[[Optional[int], Optional[int]], int]
    LStrAnsiPosA: Callable[[Optional[int], Optional[int]], int]
    LStrSubStringA: Callable[[Optional[int], int, int], int]
    LStrSubStringW: Callable[[Optional[int], int, int], int]
    LStrLeftA: Callable[[Optional[int], int], int]
    LStrLeftW: Callable[[Optional[int], int], int]
    LStrRightA: Callable[[Optional[int], int], int]
    LStrRightW: Callable[[Optional[int], int], int]
    LStrIsDelimiterA: Callable[[Optional[int], Optional[int], int], bool]
    LStrIsDelimiterW: Callable[[Optional[int], Optional[int], int], bool]
    LStrIsPathDelimiterA: Callable[[Optional[int], int], bool]
    LStrIsPathDelimiterW: Callable[[Optional[int], int], bool]
    LStrLastDelimiterA: Callable[[Optional[int], Optional[int]], int]
    LStrLastDelimiterW: Callable[[Optional[int], Optional[int]], int]
    LStrAnsiLastCharA: Callable[[Optional[int]], Optional[int]]
    LStrUnicodeLastCharW: Callable[[Optional[int]], Optional[int]]
    LStrInsertA: Callable[[Optional[int], Optional[int], int], int]
    LStrInsertW: Callable[[Optional[int], Optional[int], int], int]
    LStrDeleteA: Callable[[Optional[int], int, int], int]
    LStrDeleteW: Callable[[Optional[int], int, int], int]
    LStrLowerCaseA: Callable[[Optional[int]], int]
    LStrLowerCaseW: Callable[[Optional[int]], int]
    LStrUpperCaseA: Callable[[Optional[int]], int]
    LStrUpperCaseW: Callable[[Optional[int]], int]
    LStrSelfLowerCaseA: Callable[[Optional[int]], None]
    LStrSelfLowerCaseW: Callable[[Optional[int]], None]
    LStrSelfUpperCaseA: Callable[[Optional[int]], None]
    LStrSelfUpperCaseW: Callable[[Optional[int]], None]
    LStrTrimA: Callable[[Optional[int]], int]
    LStrTrimW: Callable[[Optional[int]], int]
    LStrTrimLeftA: Callable[[Optional[int]], int]
    LStrTrimLeftW: Callable[[Optional[int]], int]
    LStrTrimRightA: Callable[[Optional[int]], int]
    LStrTrimRightW: Callable[[Optional[int]], int]
    LStrSelfTrimA: Callable[[Optional[int]], None]
    LStrSelfTrimW: Callable[[Optional[int]], None]
    LStrSelfTrimLeftA: Callable[[Optional[int]], None]
    LStrSelfTrimLeftW: Callable[[Optional[int]], None]
    LStrSelfTrimRightA: Callable[[Optional[int]], None]
    LStrSelfTrimRightW: Callable[[Optional[int]], None]
    LStrPadLeftA: Callable[[Optional[int], bytes, int], int]
    LStrPadLeftW: Callable[[Optional[int], int, int], int]
    LStrPadRightA: Callable[[Optional[int], bytes, int], int]
    LStrPadRightW: Callable[[Optional[int], int, int], int]
    LStrReplaceA: Callable[[Optional[int], Optional[bytes], Optional[bytes]], int]
    LStrReplaceW: Callable[[Optional[int], Any, Any], int]
    SplitBySepA: Callable[[Any, bytes, int, Any, bool], int]
    SplitBySepW: Callable[[Any, int, int, Any, bool], int]
    SplitBySepExA: Callable[[Any, bytes, Any, bool], int]
    SplitBySepExW: Callable[[Any, int, Any, bool], int]
    SplitByFixedLayoutA: Callable[[Any, int, Any, Any, bool], int]
    SplitByFixedLayoutW: Callable[[Any, int, Any, Any, bool], int]
    SplitByFixedLayoutExA: Callable[[Any, int, Any, Any, bool], int]
    SplitByFixedLayoutExW: Callable[[Any, int, Any, Any, bool], int]
    SplitNamedEquA: Callable[[Optional[bytes], Any, bool, bytes], bool]
    SplitNamedEquW: Callable[[Any, Any, bool, int], bool]
    LStrHeapAlloc: Callable[[int], Optional[int]]
    LStrHeapFree: Callable[[Optional[int]], None]
    LStrListEndA: Callable[[Any], None]
    LStrListEndW: Callable[[Any], None]
    LStrWideCharBufSizeA: Callable[[Optional[int]], int]
    LStrWideCharA: Callable[[Optional[int], Any, int], Optional[int]]
    LStrWideCharBufSizeW: Callable[[Optional[int]], int]
    LStrAllocLoadStrA: Callable[[Optional[int], int], int]
    LStrAllocLoadStrW: Callable[[Optional[int], int], int]
    LStrAllocFromInt64A: Callable[[int], int]
    LStrAllocFromInt64W: Callable[[int], int]
    LStrAllocFromUInt64A: Callable[[int], int]
    LStrAllocFromUInt64W: Callable[[int], int]
    LStrAllocFromDoubleA: Callable[[float], int]
    LStrAllocFromDoubleW: Callable[[float], int]
    LStrIntToHexA: Callable[[int, int], int]
    LStrIntToHexW: Callable[[int, int], int]
    LStrToIntA: Callable[[Optional[int]], int]
    LStrToIntW: Callable[[Optional[int]], int]
    LStrToIntDefA: Callable[[Optional[int], int], int]
    LStrToIntDefW: Callable[[Optional[int], int], int]
    LStrToDoubleDefA: Callable[[Optional[int], float], float]
    LStrToDoubleDefW: Callable[[Optional[int], float], float]
    LStrAppendIntValueA: Callable[[Optional[int], int], Optional[int]]
    LStrAppendIntValueW: Callable[[Optional[int], int], Optional[int]]
    LStrFloatToStrFA: Callable[[float, int, int, int], int]
    LStrFloatToStrFW: Callable[[float, int, int, int], int]
    LStrFormatFloatA: Callable[[Optional[int], Any], int]
    LStrFormatFloatW: Callable[[Optional[int], Any], int]
    _LStrFormatA: Callable[..., int]
    _LStrFormatW: Callable[..., int]
    _LStrSprintfA: Callable[..., int]
    _LStrSprintfW: Callable[..., int]
    _LStrPrintfA: Callable[..., int]
    _LStrPrintfW: Callable[..., int]
    _LStrCatSprintfA: Callable[..., int]
    _LStrCatSprintfW: Callable[..., int]
    _LStrCatPrintfA: Callable[..., int]
    _LStrCatPrintfW: Callable[..., int]
    LStrSetFailureMode: Callable[[int], int]
    LStrGetLastFailure: Callable[[Any, int], int]
