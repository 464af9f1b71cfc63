Attribute VB_Name = "Quarnel"
' Declarations of the Quarnel string-handle library for VBA (32- and 64-bit
' Office) and VB6. Import this module and the class modules QuarnelString
' (UTF-16 text, the W family) and QuarnelAnsiString (bytes in the ANSI code
' page, the A family). Windows looks for Quarnel.dll in the host
' application's folder, the system folders, the current folder and the PATH,
' not in the document's folder: put it on the PATH, or ChDir to its folder
' before the first call.
'
' The classes free their handle in Class_Terminate and turn every failure
' into Err.Raise with the library's code and message:
'
'     Dim s As New QuarnelString
'     s.Text = "Lyon; 513275 ; 12x"
'     Dim fields As Collection
'     Set fields = s.Split(";", True)
'     Debug.Print fields(1).UpperCase.Text, fields(2).ToInt
'
' Calling the Declares directly: call QuarnelRecordFailures once first (the
' library would otherwise raise its failures as Windows exceptions, which end
' the host), then QuarnelCheck after any call that may fail. Handles are
' LongPtr values that QuarnelString.Adopt can take over; W text goes in as
' StrPtr(s). 64-bit integers travel as Currency holding the integer's bits:
' QuarnelInt64 and QuarnelFromInt64 convert.
Option Explicit

' Failure codes (Err.Number of the raised errors).
Public Const QUARNEL_EXCEPTION_RANGE As Long = &HE0510001
Public Const QUARNEL_EXCEPTION_CONVERT As Long = &HE0510002
Public Const QUARNEL_EXCEPTION_OUT_OF_MEMORY As Long = &HE0510003
Public Const QUARNEL_EXCEPTION_INVALID_HANDLE As Long = &HE0510004
Public Const QUARNEL_EXCEPTION_INTERNAL As Long = &HE05100FF

#If VBA7 Then
' A wrapper of one A handle, as the splitting functions fill it.
Public Type CLAnsiStr
    handle As LongPtr
    owned As Byte
End Type
' A wrapper of one W handle.
Public Type CLWideStr
    handle As LongPtr
    owned As Byte
End Type
' The list the A splitting functions fill; release it with LStrListEndA.
Public Type CLAnsiStrList
    growBy As Long
    capacity As Long
    count As Long
    items As LongPtr
End Type
' The list the W splitting functions fill; release it with LStrListEndW.
Public Type CLWideStrList
    growBy As Long
    capacity As Long
    count As Long
    items As LongPtr
End Type
' Copies bytes between addresses (the platform's RtlMoveMemory).
Public Declare PtrSafe Sub QuarnelCopyMemory Lib "kernel32" Alias "RtlMoveMemory" (ByVal dest As LongPtr, ByVal src As LongPtr, ByVal bytes As LongPtr)
#Else
Public Type CLAnsiStr
    handle As Long
    owned As Byte
End Type
Public Type CLWideStr
    handle As Long
    owned As Byte
End Type
Public Type CLAnsiStrList
    growBy As Long
    capacity As Long
    count As Long
    items As Long
End Type
Public Type CLWideStrList
    growBy As Long
    capacity As Long
    count As Long
    items As Long
End Type
Public Declare Sub QuarnelCopyMemory Lib "kernel32" Alias "RtlMoveMemory" (ByVal dest As Long, ByVal src As Long, ByVal bytes As Long)
#End If

' BEGIN GENERATED DECLARES (tools/check_vba.py --write)
' Not declared: the caller-cleans (cdecl) exports, which VBA cannot call (a
' Declare is always stdcall on 32-bit Windows): _LStrFormatA, _LStrFormatW, _LStrSprintfA, _LStrSprintfW,
' _LStrPrintfA, _LStrPrintfW, _LStrVPrintfA, _LStrVPrintfW, _LStrCatSprintfA,
' _LStrCatSprintfW, _LStrCatPrintfA, _LStrCatPrintfW, _LStrCatVPrintfA, _LStrCatVPrintfW.
#If VBA7 Then
' An empty handle.
Public Declare PtrSafe Function LStrAllocA Lib "Quarnel.dll" () As LongPtr
' An empty handle.
Public Declare PtrSafe Function LStrAllocW Lib "Quarnel.dll" () As LongPtr
' A handle with src's text.
Public Declare PtrSafe Function LStrAllocCloneAA Lib "Quarnel.dll" (ByVal src As LongPtr) As LongPtr
' A handle with src's text.
Public Declare PtrSafe Function LStrAllocCloneWW Lib "Quarnel.dll" (ByVal src As LongPtr) As LongPtr
' W to A: src's units up to its first zero unit, encoded into the ANSI code page (unrepresentable
' characters become the code page's default char).
Public Declare PtrSafe Function LStrAllocCloneWA Lib "Quarnel.dll" (ByVal src As LongPtr) As LongPtr
' A to W: all of src's bytes, zero bytes included, decoded to UTF-16.
Public Declare PtrSafe Function LStrAllocCloneAW Lib "Quarnel.dll" (ByVal src As LongPtr) As LongPtr
' From a (text, length) pair under the length rule.
Public Declare PtrSafe Function LStrAllocFromASzStrA Lib "Quarnel.dll" (ByVal aText As String, ByVal aLength As Long) As LongPtr
' From a (text, length) pair under the length rule.
Public Declare PtrSafe Function LStrAllocFromWSzStrA Lib "Quarnel.dll" (ByVal aText As LongPtr, ByVal aLength As Long) As LongPtr
' From a (text, length) pair under the length rule.
Public Declare PtrSafe Function LStrAllocFromASzStrW Lib "Quarnel.dll" (ByVal aText As String, ByVal aLength As Long) As LongPtr
' From a (text, length) pair under the length rule.
Public Declare PtrSafe Function LStrAllocFromWSzStrW Lib "Quarnel.dll" (ByVal aText As LongPtr, ByVal aLength As Long) As LongPtr
' One character.
Public Declare PtrSafe Function LStrAllocFromCharA Lib "Quarnel.dll" (ByVal c As Byte) As LongPtr
' One character.
Public Declare PtrSafe Function LStrAllocFromCharW Lib "Quarnel.dll" (ByVal c As Integer) As LongPtr
' count copies of c (zero characters included); empty for count <= 0.
Public Declare PtrSafe Function LStrAllocStringOfCharA Lib "Quarnel.dll" (ByVal c As Byte, ByVal aCount As Long) As LongPtr
' count copies of c (zero characters included); empty for count <= 0.
Public Declare PtrSafe Function LStrAllocStringOfCharW Lib "Quarnel.dll" (ByVal c As Integer, ByVal aCount As Long) As LongPtr
' Releases the handle and its reference to the payload.
Public Declare PtrSafe Sub LStrDestroyA Lib "Quarnel.dll" (ByVal h As LongPtr)
' Releases the handle and its reference to the payload.
Public Declare PtrSafe Sub LStrDestroyW Lib "Quarnel.dll" (ByVal h As LongPtr)
' A: if the payload is shared, gives the handle a private copy (the payload pointer changes);
' otherwise nothing.
Public Declare PtrSafe Sub LStrUniqueA Lib "Quarnel.dll" (ByVal h As LongPtr)
' A: if the payload is shared, gives the handle a private copy (the payload pointer changes);
' otherwise nothing.
Public Declare PtrSafe Sub LStrUniqueW Lib "Quarnel.dll" (ByVal h As LongPtr)
' The handle's index base.
Public Declare PtrSafe Function LStrGetCharIndexBaseA Lib "Quarnel.dll" (ByVal h As LongPtr) As Long
' The handle's index base.
Public Declare PtrSafe Function LStrGetCharIndexBaseW Lib "Quarnel.dll" (ByVal h As LongPtr) As Long
' The handle's index base.
Public Declare PtrSafe Function LStrSetCharIndexBaseA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aBase As Long) As Long
' The handle's index base.
Public Declare PtrSafe Function LStrSetCharIndexBaseW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aBase As Long) As Long
' The text, zero-terminated, for reading only (an A payload may be shared).
Public Declare PtrSafe Function LStrCstrA Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' The text, zero-terminated, for reading only (an A payload may be shared).
Public Declare PtrSafe Function LStrCstrW Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' The text, zero-terminated, for reading only (an A payload may be shared).
Public Declare PtrSafe Function LStrCbstrW Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' The address of the handle's payload field (numerically h itself): a host may read or replace
' the BSTR there; the library frees whatever BSTR it finds when the handle is next assigned or
' destroyed.
Public Declare PtrSafe Function LStrBSTRRef Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' Number of bytes / UTF-16 units, zero characters included.
Public Declare PtrSafe Function LStrLengthA Lib "Quarnel.dll" (ByVal h As LongPtr) As Long
' Number of bytes / UTF-16 units, zero characters included.
Public Declare PtrSafe Function LStrLengthW Lib "Quarnel.dll" (ByVal h As LongPtr) As Long
' Sets the length: the first min(old, new) characters stay, added characters have unspecified
' values, 0 empties the handle.
Public Declare PtrSafe Function LStrSetLengthA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aLength As Long) As Long
' Sets the length: the first min(old, new) characters stay, added characters have unspecified
' values, 0 empties the handle.
Public Declare PtrSafe Function LStrSetLengthW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aLength As Long) As Long
' The character at position.
Public Declare PtrSafe Function LStrGetCharAtA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aPosition As Long) As Byte
' The character at position.
Public Declare PtrSafe Function LStrGetCharAtW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aPosition As Long) As Integer
' Writes c at position; other A handles that shared the text keep theirs.
Public Declare PtrSafe Sub LStrSetCharAtA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aPosition As Long, ByVal c As Byte)
' Writes c at position; other A handles that shared the text keep theirs.
Public Declare PtrSafe Sub LStrSetCharAtW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aPosition As Long, ByVal c As Integer)
' The address of the character at position.
Public Declare PtrSafe Function LStrCharAddrAtA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aPosition As Long) As LongPtr
' The address of the character at position.
Public Declare PtrSafe Function LStrCharAddrAtW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aPosition As Long) As LongPtr
' Gives dst the text of src: the A form shares src's payload, the W form copies it.
Public Declare PtrSafe Function LStrAssignA Lib "Quarnel.dll" (ByVal dst As LongPtr, ByVal src As LongPtr) As Long
' Gives dst the text of src: the A form shares src's payload, the W form copies it.
Public Declare PtrSafe Function LStrAssignW Lib "Quarnel.dll" (ByVal dst As LongPtr, ByVal src As LongPtr) As Long
' Gives h a copy of a (text, length) pair under the length rule.
Public Declare PtrSafe Function LStrAssignASzStrA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aText As String, ByVal aLength As Long) As Long
' Gives h a copy of a (text, length) pair under the length rule.
Public Declare PtrSafe Function LStrAssignWSzStrW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aText As LongPtr, ByVal aLength As Long) As Long
' Appends src's text to dst's.
Public Declare PtrSafe Function LStrAppendA Lib "Quarnel.dll" (ByVal dst As LongPtr, ByVal src As LongPtr) As Long
' Appends src's text to dst's.
Public Declare PtrSafe Function LStrAppendW Lib "Quarnel.dll" (ByVal dst As LongPtr, ByVal src As LongPtr) As Long
' Appends a (text, length) pair under the length rule.
Public Declare PtrSafe Function LStrAppendASzStrA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aText As String, ByVal aLength As Long) As Long
' Appends a (text, length) pair under the length rule.
Public Declare PtrSafe Function LStrAppendWSzStrW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aText As LongPtr, ByVal aLength As Long) As Long
' Appends one character.
Public Declare PtrSafe Function LStrAppendCharA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal c As Byte) As LongPtr
' Appends one character.
Public Declare PtrSafe Function LStrAppendCharW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal c As Integer) As LongPtr
' Compares a with b by the rules above.
Public Declare PtrSafe Function LStrCompareA Lib "Quarnel.dll" (ByVal a As LongPtr, ByVal b As LongPtr) As Long
' Compares a with b by the rules above.
Public Declare PtrSafe Function LStrCompareICA Lib "Quarnel.dll" (ByVal a As LongPtr, ByVal b As LongPtr) As Long
' Compares a with b by the rules above.
Public Declare PtrSafe Function LStrCompareW Lib "Quarnel.dll" (ByVal a As LongPtr, ByVal b As LongPtr) As Long
' Compares a with b by the rules above.
Public Declare PtrSafe Function LStrCompareICW Lib "Quarnel.dll" (ByVal a As LongPtr, ByVal b As LongPtr) As Long
' The first occurrence of pattern's text in h's text: every unit compared exactly (case counts,
' zero characters are ordinary characters).
Public Declare PtrSafe Function LStrPosA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal pattern As LongPtr) As Long
' The first occurrence of pattern's text in h's text: every unit compared exactly (case counts,
' zero characters are ordinary characters).
Public Declare PtrSafe Function LStrPosW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal pattern As LongPtr) As Long
' The first occurrence of pattern's text in h's text: every unit compared exactly (case counts,
' zero characters are ordinary characters).
Public Declare PtrSafe Function LStrPosPtrA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal pattern As String) As Long
' The first occurrence of pattern's text in h's text: every unit compared exactly (case counts,
' zero characters are ordinary characters).
Public Declare PtrSafe Function LStrPosPtrW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal pattern As LongPtr) As Long
' The first occurrence of pattern's text in h's text: every unit compared exactly (case counts,
' zero characters are ordinary characters).
Public Declare PtrSafe Function LStrUnicodePosW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal pattern As LongPtr) As Long
' As LStrPosA, but both texts count only up to their first zero byte, and an occurrence that
' would begin on the trail byte of a double-byte character of the ANSI code page is skipped.
Public Declare PtrSafe Function LStrAnsiPosA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal pattern As LongPtr) As Long
' count characters from position pos.
Public Declare PtrSafe Function LStrSubStringA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aPos As Long, ByVal aCount As Long) As LongPtr
' count characters from position pos.
Public Declare PtrSafe Function LStrSubStringW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aPos As Long, ByVal aCount As Long) As LongPtr
' The first / last count characters; the whole text when count is at least its length; empty for
' count <= 0.
Public Declare PtrSafe Function LStrLeftA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aCount As Long) As LongPtr
' The first / last count characters; the whole text when count is at least its length; empty for
' count <= 0.
Public Declare PtrSafe Function LStrLeftW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aCount As Long) As LongPtr
' The first / last count characters; the whole text when count is at least its length; empty for
' count <= 0.
Public Declare PtrSafe Function LStrRightA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aCount As Long) As LongPtr
' The first / last count characters; the whole text when count is at least its length; empty for
' count <= 0.
Public Declare PtrSafe Function LStrRightW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aCount As Long) As LongPtr
' True when the character at pos is in the delimiter set; false for a position outside the text.
Public Declare PtrSafe Function LStrIsDelimiterA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal delimiters As LongPtr, ByVal aPos As Long) As Byte
' True when the character at pos is in the delimiter set; false for a position outside the text.
Public Declare PtrSafe Function LStrIsDelimiterW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal delimiters As LongPtr, ByVal aPos As Long) As Byte
' True when the character at pos is a backslash (the forward slash is not a path delimiter);
' false for a position outside the text.
Public Declare PtrSafe Function LStrIsPathDelimiterA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aPos As Long) As Byte
' True when the character at pos is a backslash (the forward slash is not a path delimiter);
' false for a position outside the text.
Public Declare PtrSafe Function LStrIsPathDelimiterW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aPos As Long) As Byte
' The position of the last character of h that is in the delimiter set, or the not-found value.
Public Declare PtrSafe Function LStrLastDelimiterA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal delimiters As LongPtr) As Long
' The position of the last character of h that is in the delimiter set, or the not-found value.
Public Declare PtrSafe Function LStrLastDelimiterW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal delimiters As LongPtr) As Long
' A pointer to the last character of h, null when h is empty.
Public Declare PtrSafe Function LStrAnsiLastCharA Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' A pointer to the last character of h, null when h is empty.
Public Declare PtrSafe Function LStrUnicodeLastCharW Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' Inserts source's text so that it starts at pos: a pos before the first character inserts at the
' start, one past the end appends.
Public Declare PtrSafe Function LStrInsertA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal source As LongPtr, ByVal aPos As Long) As Long
' Inserts source's text so that it starts at pos: a pos before the first character inserts at the
' start, one past the end appends.
Public Declare PtrSafe Function LStrInsertW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal source As LongPtr, ByVal aPos As Long) As Long
' Removes up to count characters starting at pos.
Public Declare PtrSafe Function LStrDeleteA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aPos As Long, ByVal aCount As Long) As Long
' Removes up to count characters starting at pos.
Public Declare PtrSafe Function LStrDeleteW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aPos As Long, ByVal aCount As Long) As Long
' LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
' mapped in place.
Public Declare PtrSafe Function LStrLowerCaseA Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
' mapped in place.
Public Declare PtrSafe Function LStrLowerCaseW Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
' mapped in place.
Public Declare PtrSafe Function LStrUpperCaseA Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
' mapped in place.
Public Declare PtrSafe Function LStrUpperCaseW Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
' mapped in place.
Public Declare PtrSafe Sub LStrSelfLowerCaseA Lib "Quarnel.dll" (ByVal h As LongPtr)
' LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
' mapped in place.
Public Declare PtrSafe Sub LStrSelfLowerCaseW Lib "Quarnel.dll" (ByVal h As LongPtr)
' LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
' mapped in place.
Public Declare PtrSafe Sub LStrSelfUpperCaseA Lib "Quarnel.dll" (ByVal h As LongPtr)
' LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
' mapped in place.
Public Declare PtrSafe Sub LStrSelfUpperCaseW Lib "Quarnel.dll" (ByVal h As LongPtr)
' Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place.
Public Declare PtrSafe Function LStrTrimA Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place.
Public Declare PtrSafe Function LStrTrimW Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place.
Public Declare PtrSafe Function LStrTrimLeftA Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place.
Public Declare PtrSafe Function LStrTrimLeftW Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place.
Public Declare PtrSafe Function LStrTrimRightA Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place.
Public Declare PtrSafe Function LStrTrimRightW Lib "Quarnel.dll" (ByVal h As LongPtr) As LongPtr
' Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place.
Public Declare PtrSafe Sub LStrSelfTrimA Lib "Quarnel.dll" (ByVal h As LongPtr)
' Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place.
Public Declare PtrSafe Sub LStrSelfTrimW Lib "Quarnel.dll" (ByVal h As LongPtr)
' Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place.
Public Declare PtrSafe Sub LStrSelfTrimLeftA Lib "Quarnel.dll" (ByVal h As LongPtr)
' Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place.
Public Declare PtrSafe Sub LStrSelfTrimLeftW Lib "Quarnel.dll" (ByVal h As LongPtr)
' Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place.
Public Declare PtrSafe Sub LStrSelfTrimRightA Lib "Quarnel.dll" (ByVal h As LongPtr)
' Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place.
Public Declare PtrSafe Sub LStrSelfTrimRightW Lib "Quarnel.dll" (ByVal h As LongPtr)
' h's text padded on the left (PadLeft) or right (PadRight).
Public Declare PtrSafe Function LStrPadLeftA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal padChar As Byte, ByVal aWidth As Long) As LongPtr
' h's text padded on the left (PadLeft) or right (PadRight).
Public Declare PtrSafe Function LStrPadLeftW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal padChar As Integer, ByVal aWidth As Long) As LongPtr
' h's text padded on the left (PadLeft) or right (PadRight).
Public Declare PtrSafe Function LStrPadRightA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal padChar As Byte, ByVal aWidth As Long) As LongPtr
' h's text padded on the left (PadLeft) or right (PadRight).
Public Declare PtrSafe Function LStrPadRightW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal padChar As Integer, ByVal aWidth As Long) As LongPtr
' h's text with the occurrences of search replaced, as described above.
Public Declare PtrSafe Function LStrReplaceA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aSearch As String, ByVal replacement As String) As LongPtr
' h's text with the occurrences of search replaced, as described above.
Public Declare PtrSafe Function LStrReplaceW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aSearch As LongPtr, ByVal replacement As LongPtr) As LongPtr
' Splits at every separator into the slotCount wrappers at slots (each must already hold a live
' handle).
Public Declare PtrSafe Function SplitBySepA Lib "Quarnel.dll" (ByRef source As CLAnsiStr, ByVal separator As Byte, ByVal slotCount As Long, ByRef slots As CLAnsiStr, ByVal aTrim As Boolean) As Long
' Splits at every separator into the slotCount wrappers at slots (each must already hold a live
' handle).
Public Declare PtrSafe Function SplitBySepW Lib "Quarnel.dll" (ByRef source As CLWideStr, ByVal separator As Integer, ByVal slotCount As Long, ByRef slots As CLWideStr, ByVal aTrim As Boolean) As Long
' The same fields, every one of them, into a list.
Public Declare PtrSafe Function SplitBySepExA Lib "Quarnel.dll" (ByRef source As CLAnsiStr, ByVal separator As Byte, ByRef list As CLAnsiStrList, ByVal aTrim As Boolean) As Long
' The same fields, every one of them, into a list.
Public Declare PtrSafe Function SplitBySepExW Lib "Quarnel.dll" (ByRef source As CLWideStr, ByVal separator As Integer, ByRef list As CLWideStrList, ByVal aTrim As Boolean) As Long
' Fixed-width records.
Public Declare PtrSafe Function SplitByFixedLayoutA Lib "Quarnel.dll" (ByRef source As CLAnsiStr, ByVal fieldCount As Long, ByRef widths As Long, ByRef list As CLAnsiStrList, ByVal aTrim As Boolean) As Long
' Fixed-width records.
Public Declare PtrSafe Function SplitByFixedLayoutW Lib "Quarnel.dll" (ByRef source As CLWideStr, ByVal fieldCount As Long, ByRef widths As Long, ByRef list As CLWideStrList, ByVal aTrim As Boolean) As Long
' Fixed-width records.
Public Declare PtrSafe Function SplitByFixedLayoutExA Lib "Quarnel.dll" (ByRef source As CLAnsiStr, ByVal fieldCount As Long, ByRef columns As Long, ByRef list As CLAnsiStrList, ByVal aTrim As Boolean) As Long
' Fixed-width records.
Public Declare PtrSafe Function SplitByFixedLayoutExW Lib "Quarnel.dll" (ByRef source As CLWideStr, ByVal fieldCount As Long, ByRef columns As Long, ByRef list As CLWideStrList, ByVal aTrim As Boolean) As Long
' Splits a zero-terminated "name<separator>value" text at the first separator: on success the
' list holds the name (slot 0) and the value (slot 1, later separators included) and the result
' is true.
Public Declare PtrSafe Function SplitNamedEquA Lib "Quarnel.dll" (ByVal aText As String, ByRef list As CLAnsiStrList, ByVal aTrim As Boolean, ByVal separator As Byte) As Byte
' Splits a zero-terminated "name<separator>value" text at the first separator: on success the
' list holds the name (slot 0) and the value (slot 1, later separators included) and the result
' is true.
Public Declare PtrSafe Function SplitNamedEquW Lib "Quarnel.dll" (ByVal aText As LongPtr, ByRef list As CLWideStrList, ByVal aTrim As Boolean, ByVal separator As Integer) As Byte
' A block of at least bytes bytes from the shared heap (0 gives a block too), to be released with
' LStrHeapFree or the platform's own release for that heap.
Public Declare PtrSafe Function LStrHeapAlloc Lib "Quarnel.dll" (ByVal bytes As Long) As LongPtr
' Releases a block of the shared heap.
Public Declare PtrSafe Sub LStrHeapFree Lib "Quarnel.dll" (ByVal block As LongPtr)
' Ends a list: every non-null wrapper among its capacity slots is ended (an owned handle is
' destroyed) and freed, then the array is freed.
Public Declare PtrSafe Sub LStrListEndA Lib "Quarnel.dll" (ByRef list As CLAnsiStrList)
' Ends a list: every non-null wrapper among its capacity slots is ended (an owned handle is
' destroyed) and freed, then the array is freed.
Public Declare PtrSafe Sub LStrListEndW Lib "Quarnel.dll" (ByRef list As CLWideStrList)
' The capacity LStrWideCharA needs for h.
Public Declare PtrSafe Function LStrWideCharBufSizeA Lib "Quarnel.dll" (ByVal h As LongPtr) As Long
' Converts h's text into the caller's buffer.
Public Declare PtrSafe Function LStrWideCharA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal buffer As LongPtr, ByVal capacity As Long) As LongPtr
' The size of h's text in bytes.
Public Declare PtrSafe Function LStrWideCharBufSizeW Lib "Quarnel.dll" (ByVal h As LongPtr) As Long
' Entry id of module's string table, as described above.
Public Declare PtrSafe Function LStrAllocLoadStrA Lib "Quarnel.dll" (ByVal aModule As LongPtr, ByVal id As Long) As LongPtr
' Entry id of module's string table, as described above.
Public Declare PtrSafe Function LStrAllocLoadStrW Lib "Quarnel.dll" (ByVal aModule As LongPtr, ByVal id As Long) As LongPtr
' New handles with the decimal text of a 64-bit integer: "-9223372036854775808",
' "18446744073709551615", "0".
Public Declare PtrSafe Function LStrAllocFromInt64A Lib "Quarnel.dll" (ByVal aValue As Currency) As LongPtr
' New handles with the decimal text of a 64-bit integer: "-9223372036854775808",
' "18446744073709551615", "0".
Public Declare PtrSafe Function LStrAllocFromInt64W Lib "Quarnel.dll" (ByVal aValue As Currency) As LongPtr
' New handles with the decimal text of a 64-bit integer: "-9223372036854775808",
' "18446744073709551615", "0".
Public Declare PtrSafe Function LStrAllocFromUInt64A Lib "Quarnel.dll" (ByVal aValue As Currency) As LongPtr
' New handles with the decimal text of a 64-bit integer: "-9223372036854775808",
' "18446744073709551615", "0".
Public Declare PtrSafe Function LStrAllocFromUInt64W Lib "Quarnel.dll" (ByVal aValue As Currency) As LongPtr
' A new handle with the general text of value: at most 15 significant digits, trailing zeros
' removed, the user's decimal separator; fixed notation from 0.0001 up to 15 integer digits,
' otherwise scientific with the exponent as "E20" / "E-5" (1e20 gives "1E20", 1/3
' "0.333333333333333").
Public Declare PtrSafe Function LStrAllocFromDoubleA Lib "Quarnel.dll" (ByVal aValue As Double) As LongPtr
' A new handle with the general text of value: at most 15 significant digits, trailing zeros
' removed, the user's decimal separator; fixed notation from 0.0001 up to 15 integer digits,
' otherwise scientific with the exponent as "E20" / "E-5" (1e20 gives "1E20", 1/3
' "0.333333333333333").
Public Declare PtrSafe Function LStrAllocFromDoubleW Lib "Quarnel.dll" (ByVal aValue As Double) As LongPtr
' A new handle with value's 32-bit pattern in upper-case hexadecimal, no prefix, zero-padded on
' the left to at least digits digits (never cut): (255, 4) gives "00FF", (-1, 0) "FFFFFFFF".
Public Declare PtrSafe Function LStrIntToHexA Lib "Quarnel.dll" (ByVal aValue As Long, ByVal digits As Long) As LongPtr
' A new handle with value's 32-bit pattern in upper-case hexadecimal, no prefix, zero-padded on
' the left to at least digits digits (never cut): (255, 4) gives "00FF", (-1, 0) "FFFFFFFF".
Public Declare PtrSafe Function LStrIntToHexW Lib "Quarnel.dll" (ByVal aValue As Long, ByVal digits As Long) As LongPtr
' The handle's text as an integer.
Public Declare PtrSafe Function LStrToIntA Lib "Quarnel.dll" (ByVal h As LongPtr) As Long
' The handle's text as an integer.
Public Declare PtrSafe Function LStrToIntW Lib "Quarnel.dll" (ByVal h As LongPtr) As Long
' The handle's whole text as a number, or defaultValue.
Public Declare PtrSafe Function LStrToIntDefA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal defaultValue As Long) As Long
' The handle's whole text as a number, or defaultValue.
Public Declare PtrSafe Function LStrToIntDefW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal defaultValue As Long) As Long
' The handle's whole text as a number, or defaultValue.
Public Declare PtrSafe Function LStrToDoubleDefA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal defaultValue As Double) As Double
' The handle's whole text as a number, or defaultValue.
Public Declare PtrSafe Function LStrToDoubleDefW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal defaultValue As Double) As Double
' Appends value's decimal text and returns the handle's characters (the A text; the W BSTR),
' valid until the handle next changes.
Public Declare PtrSafe Function LStrAppendIntValueA Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aValue As Long) As LongPtr
' Appends value's decimal text and returns the handle's characters (the A text; the W BSTR),
' valid until the handle next changes.
Public Declare PtrSafe Function LStrAppendIntValueW Lib "Quarnel.dll" (ByVal h As LongPtr, ByVal aValue As Long) As LongPtr
' A new handle with value laid out by format (its low byte; other codes give an empty handle).
Public Declare PtrSafe Function LStrFloatToStrFA Lib "Quarnel.dll" (ByVal aValue As Double, ByVal aFormat As Long, ByVal precision As Long, ByVal digits As Long) As LongPtr
' A new handle with value laid out by format (its low byte; other codes give an empty handle).
Public Declare PtrSafe Function LStrFloatToStrFW Lib "Quarnel.dll" (ByVal aValue As Double, ByVal aFormat As Long, ByVal precision As Long, ByVal digits As Long) As LongPtr
' A new handle with *value laid out by the picture in the format handle (its text up to the first
' zero character).
Public Declare PtrSafe Function LStrFormatFloatA Lib "Quarnel.dll" (ByVal aFormat As LongPtr, ByRef aValue As Double) As LongPtr
' A new handle with *value laid out by the picture in the format handle (its text up to the first
' zero character).
Public Declare PtrSafe Function LStrFormatFloatW Lib "Quarnel.dll" (ByVal aFormat As LongPtr, ByRef aValue As Double) As LongPtr
' Sets how failures leave the calling thread's calls: 0 raise (the default: exceptions as under
' "Failures"), 1 record.
Public Declare PtrSafe Function LStrSetFailureMode Lib "Quarnel.dll" (ByVal mode As Long) As Long
' The failure of the last call the calling thread made in record mode: 0 when that call
' succeeded, otherwise its QUARNEL_EXCEPTION_* code.
Public Declare PtrSafe Function LStrGetLastFailure Lib "Quarnel.dll" (ByVal aMessage As String, ByVal capacity As Long) As Long
#Else
' The same declarations for VB6 and 32-bit Office before VBA7.
Public Declare Function LStrAllocA Lib "Quarnel.dll" () As Long
Public Declare Function LStrAllocW Lib "Quarnel.dll" () As Long
Public Declare Function LStrAllocCloneAA Lib "Quarnel.dll" (ByVal src As Long) As Long
Public Declare Function LStrAllocCloneWW Lib "Quarnel.dll" (ByVal src As Long) As Long
Public Declare Function LStrAllocCloneWA Lib "Quarnel.dll" (ByVal src As Long) As Long
Public Declare Function LStrAllocCloneAW Lib "Quarnel.dll" (ByVal src As Long) As Long
Public Declare Function LStrAllocFromASzStrA Lib "Quarnel.dll" (ByVal aText As String, ByVal aLength As Long) As Long
Public Declare Function LStrAllocFromWSzStrA Lib "Quarnel.dll" (ByVal aText As Long, ByVal aLength As Long) As Long
Public Declare Function LStrAllocFromASzStrW Lib "Quarnel.dll" (ByVal aText As String, ByVal aLength As Long) As Long
Public Declare Function LStrAllocFromWSzStrW Lib "Quarnel.dll" (ByVal aText As Long, ByVal aLength As Long) As Long
Public Declare Function LStrAllocFromCharA Lib "Quarnel.dll" (ByVal c As Byte) As Long
Public Declare Function LStrAllocFromCharW Lib "Quarnel.dll" (ByVal c As Integer) As Long
Public Declare Function LStrAllocStringOfCharA Lib "Quarnel.dll" (ByVal c As Byte, ByVal aCount As Long) As Long
Public Declare Function LStrAllocStringOfCharW Lib "Quarnel.dll" (ByVal c As Integer, ByVal aCount As Long) As Long
Public Declare Sub LStrDestroyA Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Sub LStrDestroyW Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Sub LStrUniqueA Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Sub LStrUniqueW Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Function LStrGetCharIndexBaseA Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrGetCharIndexBaseW Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrSetCharIndexBaseA Lib "Quarnel.dll" (ByVal h As Long, ByVal aBase As Long) As Long
Public Declare Function LStrSetCharIndexBaseW Lib "Quarnel.dll" (ByVal h As Long, ByVal aBase As Long) As Long
Public Declare Function LStrCstrA Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrCstrW Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrCbstrW Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrBSTRRef Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrLengthA Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrLengthW Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrSetLengthA Lib "Quarnel.dll" (ByVal h As Long, ByVal aLength As Long) As Long
Public Declare Function LStrSetLengthW Lib "Quarnel.dll" (ByVal h As Long, ByVal aLength As Long) As Long
Public Declare Function LStrGetCharAtA Lib "Quarnel.dll" (ByVal h As Long, ByVal aPosition As Long) As Byte
Public Declare Function LStrGetCharAtW Lib "Quarnel.dll" (ByVal h As Long, ByVal aPosition As Long) As Integer
Public Declare Sub LStrSetCharAtA Lib "Quarnel.dll" (ByVal h As Long, ByVal aPosition As Long, ByVal c As Byte)
Public Declare Sub LStrSetCharAtW Lib "Quarnel.dll" (ByVal h As Long, ByVal aPosition As Long, ByVal c As Integer)
Public Declare Function LStrCharAddrAtA Lib "Quarnel.dll" (ByVal h As Long, ByVal aPosition As Long) As Long
Public Declare Function LStrCharAddrAtW Lib "Quarnel.dll" (ByVal h As Long, ByVal aPosition As Long) As Long
Public Declare Function LStrAssignA Lib "Quarnel.dll" (ByVal dst As Long, ByVal src As Long) As Long
Public Declare Function LStrAssignW Lib "Quarnel.dll" (ByVal dst As Long, ByVal src As Long) As Long
Public Declare Function LStrAssignASzStrA Lib "Quarnel.dll" (ByVal h As Long, ByVal aText As String, ByVal aLength As Long) As Long
Public Declare Function LStrAssignWSzStrW Lib "Quarnel.dll" (ByVal h As Long, ByVal aText As Long, ByVal aLength As Long) As Long
Public Declare Function LStrAppendA Lib "Quarnel.dll" (ByVal dst As Long, ByVal src As Long) As Long
Public Declare Function LStrAppendW Lib "Quarnel.dll" (ByVal dst As Long, ByVal src As Long) As Long
Public Declare Function LStrAppendASzStrA Lib "Quarnel.dll" (ByVal h As Long, ByVal aText As String, ByVal aLength As Long) As Long
Public Declare Function LStrAppendWSzStrW Lib "Quarnel.dll" (ByVal h As Long, ByVal aText As Long, ByVal aLength As Long) As Long
Public Declare Function LStrAppendCharA Lib "Quarnel.dll" (ByVal h As Long, ByVal c As Byte) As Long
Public Declare Function LStrAppendCharW Lib "Quarnel.dll" (ByVal h As Long, ByVal c As Integer) As Long
Public Declare Function LStrCompareA Lib "Quarnel.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare Function LStrCompareICA Lib "Quarnel.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare Function LStrCompareW Lib "Quarnel.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare Function LStrCompareICW Lib "Quarnel.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare Function LStrPosA Lib "Quarnel.dll" (ByVal h As Long, ByVal pattern As Long) As Long
Public Declare Function LStrPosW Lib "Quarnel.dll" (ByVal h As Long, ByVal pattern As Long) As Long
Public Declare Function LStrPosPtrA Lib "Quarnel.dll" (ByVal h As Long, ByVal pattern As String) As Long
Public Declare Function LStrPosPtrW Lib "Quarnel.dll" (ByVal h As Long, ByVal pattern As Long) As Long
Public Declare Function LStrUnicodePosW Lib "Quarnel.dll" (ByVal h As Long, ByVal pattern As Long) As Long
Public Declare Function LStrAnsiPosA Lib "Quarnel.dll" (ByVal h As Long, ByVal pattern As Long) As Long
Public Declare Function LStrSubStringA Lib "Quarnel.dll" (ByVal h As Long, ByVal aPos As Long, ByVal aCount As Long) As Long
Public Declare Function LStrSubStringW Lib "Quarnel.dll" (ByVal h As Long, ByVal aPos As Long, ByVal aCount As Long) As Long
Public Declare Function LStrLeftA Lib "Quarnel.dll" (ByVal h As Long, ByVal aCount As Long) As Long
Public Declare Function LStrLeftW Lib "Quarnel.dll" (ByVal h As Long, ByVal aCount As Long) As Long
Public Declare Function LStrRightA Lib "Quarnel.dll" (ByVal h As Long, ByVal aCount As Long) As Long
Public Declare Function LStrRightW Lib "Quarnel.dll" (ByVal h As Long, ByVal aCount As Long) As Long
Public Declare Function LStrIsDelimiterA Lib "Quarnel.dll" (ByVal h As Long, ByVal delimiters As Long, ByVal aPos As Long) As Byte
Public Declare Function LStrIsDelimiterW Lib "Quarnel.dll" (ByVal h As Long, ByVal delimiters As Long, ByVal aPos As Long) As Byte
Public Declare Function LStrIsPathDelimiterA Lib "Quarnel.dll" (ByVal h As Long, ByVal aPos As Long) As Byte
Public Declare Function LStrIsPathDelimiterW Lib "Quarnel.dll" (ByVal h As Long, ByVal aPos As Long) As Byte
Public Declare Function LStrLastDelimiterA Lib "Quarnel.dll" (ByVal h As Long, ByVal delimiters As Long) As Long
Public Declare Function LStrLastDelimiterW Lib "Quarnel.dll" (ByVal h As Long, ByVal delimiters As Long) As Long
Public Declare Function LStrAnsiLastCharA Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrUnicodeLastCharW Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrInsertA Lib "Quarnel.dll" (ByVal h As Long, ByVal source As Long, ByVal aPos As Long) As Long
Public Declare Function LStrInsertW Lib "Quarnel.dll" (ByVal h As Long, ByVal source As Long, ByVal aPos As Long) As Long
Public Declare Function LStrDeleteA Lib "Quarnel.dll" (ByVal h As Long, ByVal aPos As Long, ByVal aCount As Long) As Long
Public Declare Function LStrDeleteW Lib "Quarnel.dll" (ByVal h As Long, ByVal aPos As Long, ByVal aCount As Long) As Long
Public Declare Function LStrLowerCaseA Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrLowerCaseW Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrUpperCaseA Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrUpperCaseW Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Sub LStrSelfLowerCaseA Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Sub LStrSelfLowerCaseW Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Sub LStrSelfUpperCaseA Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Sub LStrSelfUpperCaseW Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Function LStrTrimA Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrTrimW Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrTrimLeftA Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrTrimLeftW Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrTrimRightA Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrTrimRightW Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Sub LStrSelfTrimA Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Sub LStrSelfTrimW Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Sub LStrSelfTrimLeftA Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Sub LStrSelfTrimLeftW Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Sub LStrSelfTrimRightA Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Sub LStrSelfTrimRightW Lib "Quarnel.dll" (ByVal h As Long)
Public Declare Function LStrPadLeftA Lib "Quarnel.dll" (ByVal h As Long, ByVal padChar As Byte, ByVal aWidth As Long) As Long
Public Declare Function LStrPadLeftW Lib "Quarnel.dll" (ByVal h As Long, ByVal padChar As Integer, ByVal aWidth As Long) As Long
Public Declare Function LStrPadRightA Lib "Quarnel.dll" (ByVal h As Long, ByVal padChar As Byte, ByVal aWidth As Long) As Long
Public Declare Function LStrPadRightW Lib "Quarnel.dll" (ByVal h As Long, ByVal padChar As Integer, ByVal aWidth As Long) As Long
Public Declare Function LStrReplaceA Lib "Quarnel.dll" (ByVal h As Long, ByVal aSearch As String, ByVal replacement As String) As Long
Public Declare Function LStrReplaceW Lib "Quarnel.dll" (ByVal h As Long, ByVal aSearch As Long, ByVal replacement As Long) As Long
Public Declare Function SplitBySepA Lib "Quarnel.dll" (ByRef source As CLAnsiStr, ByVal separator As Byte, ByVal slotCount As Long, ByRef slots As CLAnsiStr, ByVal aTrim As Boolean) As Long
Public Declare Function SplitBySepW Lib "Quarnel.dll" (ByRef source As CLWideStr, ByVal separator As Integer, ByVal slotCount As Long, ByRef slots As CLWideStr, ByVal aTrim As Boolean) As Long
Public Declare Function SplitBySepExA Lib "Quarnel.dll" (ByRef source As CLAnsiStr, ByVal separator As Byte, ByRef list As CLAnsiStrList, ByVal aTrim As Boolean) As Long
Public Declare Function SplitBySepExW Lib "Quarnel.dll" (ByRef source As CLWideStr, ByVal separator As Integer, ByRef list As CLWideStrList, ByVal aTrim As Boolean) As Long
Public Declare Function SplitByFixedLayoutA Lib "Quarnel.dll" (ByRef source As CLAnsiStr, ByVal fieldCount As Long, ByRef widths As Long, ByRef list As CLAnsiStrList, ByVal aTrim As Boolean) As Long
Public Declare Function SplitByFixedLayoutW Lib "Quarnel.dll" (ByRef source As CLWideStr, ByVal fieldCount As Long, ByRef widths As Long, ByRef list As CLWideStrList, ByVal aTrim As Boolean) As Long
Public Declare Function SplitByFixedLayoutExA Lib "Quarnel.dll" (ByRef source As CLAnsiStr, ByVal fieldCount As Long, ByRef columns As Long, ByRef list As CLAnsiStrList, ByVal aTrim As Boolean) As Long
Public Declare Function SplitByFixedLayoutExW Lib "Quarnel.dll" (ByRef source As CLWideStr, ByVal fieldCount As Long, ByRef columns As Long, ByRef list As CLWideStrList, ByVal aTrim As Boolean) As Long
Public Declare Function SplitNamedEquA Lib "Quarnel.dll" (ByVal aText As String, ByRef list As CLAnsiStrList, ByVal aTrim As Boolean, ByVal separator As Byte) As Byte
Public Declare Function SplitNamedEquW Lib "Quarnel.dll" (ByVal aText As Long, ByRef list As CLWideStrList, ByVal aTrim As Boolean, ByVal separator As Integer) As Byte
Public Declare Function LStrHeapAlloc Lib "Quarnel.dll" (ByVal bytes As Long) As Long
Public Declare Sub LStrHeapFree Lib "Quarnel.dll" (ByVal block As Long)
Public Declare Sub LStrListEndA Lib "Quarnel.dll" (ByRef list As CLAnsiStrList)
Public Declare Sub LStrListEndW Lib "Quarnel.dll" (ByRef list As CLWideStrList)
Public Declare Function LStrWideCharBufSizeA Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrWideCharA Lib "Quarnel.dll" (ByVal h As Long, ByVal buffer As Long, ByVal capacity As Long) As Long
Public Declare Function LStrWideCharBufSizeW Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrAllocLoadStrA Lib "Quarnel.dll" (ByVal aModule As Long, ByVal id As Long) As Long
Public Declare Function LStrAllocLoadStrW Lib "Quarnel.dll" (ByVal aModule As Long, ByVal id As Long) As Long
Public Declare Function LStrAllocFromInt64A Lib "Quarnel.dll" (ByVal aValue As Currency) As Long
Public Declare Function LStrAllocFromInt64W Lib "Quarnel.dll" (ByVal aValue As Currency) As Long
Public Declare Function LStrAllocFromUInt64A Lib "Quarnel.dll" (ByVal aValue As Currency) As Long
Public Declare Function LStrAllocFromUInt64W Lib "Quarnel.dll" (ByVal aValue As Currency) As Long
Public Declare Function LStrAllocFromDoubleA Lib "Quarnel.dll" (ByVal aValue As Double) As Long
Public Declare Function LStrAllocFromDoubleW Lib "Quarnel.dll" (ByVal aValue As Double) As Long
Public Declare Function LStrIntToHexA Lib "Quarnel.dll" (ByVal aValue As Long, ByVal digits As Long) As Long
Public Declare Function LStrIntToHexW Lib "Quarnel.dll" (ByVal aValue As Long, ByVal digits As Long) As Long
Public Declare Function LStrToIntA Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrToIntW Lib "Quarnel.dll" (ByVal h As Long) As Long
Public Declare Function LStrToIntDefA Lib "Quarnel.dll" (ByVal h As Long, ByVal defaultValue As Long) As Long
Public Declare Function LStrToIntDefW Lib "Quarnel.dll" (ByVal h As Long, ByVal defaultValue As Long) As Long
Public Declare Function LStrToDoubleDefA Lib "Quarnel.dll" (ByVal h As Long, ByVal defaultValue As Double) As Double
Public Declare Function LStrToDoubleDefW Lib "Quarnel.dll" (ByVal h As Long, ByVal defaultValue As Double) As Double
Public Declare Function LStrAppendIntValueA Lib "Quarnel.dll" (ByVal h As Long, ByVal aValue As Long) As Long
Public Declare Function LStrAppendIntValueW Lib "Quarnel.dll" (ByVal h As Long, ByVal aValue As Long) As Long
Public Declare Function LStrFloatToStrFA Lib "Quarnel.dll" (ByVal aValue As Double, ByVal aFormat As Long, ByVal precision As Long, ByVal digits As Long) As Long
Public Declare Function LStrFloatToStrFW Lib "Quarnel.dll" (ByVal aValue As Double, ByVal aFormat As Long, ByVal precision As Long, ByVal digits As Long) As Long
Public Declare Function LStrFormatFloatA Lib "Quarnel.dll" (ByVal aFormat As Long, ByRef aValue As Double) As Long
Public Declare Function LStrFormatFloatW Lib "Quarnel.dll" (ByVal aFormat As Long, ByRef aValue As Double) As Long
Public Declare Function LStrSetFailureMode Lib "Quarnel.dll" (ByVal mode As Long) As Long
Public Declare Function LStrGetLastFailure Lib "Quarnel.dll" (ByVal aMessage As String, ByVal capacity As Long) As Long
#End If
' END GENERATED DECLARES

' Puts the calling thread in record mode: a failing call then returns zero
' and QuarnelCheck raises its failure. The classes call it themselves.
Public Sub QuarnelRecordFailures()
    LStrSetFailureMode 1
End Sub

' The failure of the thread's last call: its code (0 after a success), and
' its message in message.
Public Function QuarnelLastFailure(ByRef message As String) As Long
    Dim buffer As String
    buffer = String$(512, vbNullChar)
    QuarnelLastFailure = LStrGetLastFailure(buffer, 512)
    message = Left$(buffer, InStr(buffer, vbNullChar) - 1)
End Function

' Raises the failure of the thread's last call, if it failed, as Err.Raise
' with the library's code, "Quarnel" as the source and the library's message.
Public Sub QuarnelCheck()
    Dim message As String
    Dim code As Long
    code = QuarnelLastFailure(message)
    If code <> 0 Then Err.Raise code, "Quarnel", message
End Sub

' The bits of a 64-bit integer as a Currency argument: Currency holds the
' integer times 10000, so the value is divided by 10000 on the way in.
Public Function QuarnelInt64(ByVal value As Variant) As Currency
    QuarnelInt64 = CCur(CDec(value) / 10000)
End Function

' The integer whose bits a Currency holds, as a Decimal Variant.
Public Function QuarnelFromInt64(ByVal bits As Currency) As Variant
    QuarnelFromInt64 = CDec(bits) * 10000
End Function

' The UTF-16 text at p, count units long, as a String.
#If VBA7 Then
Public Function QuarnelWideText(ByVal p As LongPtr, ByVal count As Long) As String
#Else
Public Function QuarnelWideText(ByVal p As Long, ByVal count As Long) As String
#End If
    If count > 0 Then
        QuarnelWideText = String$(count, vbNullChar)
        QuarnelCopyMemory StrPtr(QuarnelWideText), p, 2 * count
    End If
End Function

' A block of the heap the library shares with its hosts, for lists built by
' hand; raises QUARNEL_EXCEPTION_OUT_OF_MEMORY instead of returning 0.
#If VBA7 Then
Public Function QuarnelHeapAlloc(ByVal bytes As Long) As LongPtr
#Else
Public Function QuarnelHeapAlloc(ByVal bytes As Long) As Long
#End If
    QuarnelHeapAlloc = LStrHeapAlloc(bytes)
    If QuarnelHeapAlloc = 0 Then
        Err.Raise QUARNEL_EXCEPTION_OUT_OF_MEMORY, "Quarnel", "LStrHeapAlloc: " & bytes & " bytes"
    End If
End Function

' Releases a block of QuarnelHeapAlloc (0 is ignored).
#If VBA7 Then
Public Sub QuarnelHeapFree(ByVal block As LongPtr)
#Else
Public Sub QuarnelHeapFree(ByVal block As Long)
#End If
    LStrHeapFree block
End Sub
