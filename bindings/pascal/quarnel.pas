{ Object Pascal binding of the Quarnel string-handle library, for Free Pascal
  (objfpc and delphi modes) and Delphi-family compilers.

  Two layers:

  * TQuarnelStrA and TQuarnelStrW, strings that free themselves. They behave
    like AnsiString and UnicodeString values: assignment copies (the handle is
    cloned only when one of the copies is changed), positions count from 1,
    Pos returns 0 when nothing is found, and no try/finally is needed:

      uses quarnel;
      var
        line: TQuarnelStrA;
        fields: TQuarnelStrAArray;
      begin
        line := 'alpha, beta, 12x';
        fields := line.Split(',', True);
        WriteLn(fields[0].Text, ' ', fields[1].ToIntDef(-1));
      end.

  * Every export of the library under its own name, with its exact C types
    (LStrAllocFromASzStrA, SplitBySepExA, ...). Each is a checked wrapper: it
    puts the calling thread in the library's record mode the first time that
    thread calls (so a TThread needs no set-up) and raises the failure of the
    call itself as an exception. The variadic formatting exports take an
    `array of const` instead of C variable arguments, as Format does.

  Failures are exceptions derived from the runtime's own classes, so code that
  already catches ERangeError or EConvertError catches them too:

    EQuarnelRangeError     (ERangeError)       a position outside the text
    EQuarnelConvertError   (EConvertError)     text that is not a number, a
                                               refused format
    EQuarnelOutOfMemory    (EOutOfMemory)      memory exhausted, a length
                                               beyond the library's limits
    EQuarnelInvalidHandle  (EInvalidPointer)   a destroyed or foreign handle
                                               (QUARNEL_CHECK_HANDLES=1)
    EQuarnelError          (Exception)         any other failure

  Each carries the library's failure code in Code and its message in
  Message; QuarnelFailureCode reads the code from any of them.

  Text of the A family is in the library's ANSI code page, which on Windows is
  the process's and elsewhere the one QUARNEL_ACP or the locale names; the
  unit hands it over as AnsiString bytes unchanged. Programs that use threads
  on Unix list cthreads first in their uses clause, as for any Free Pascal
  program with threads. }
unit quarnel;

{$H+}
{$ALIGN 8}
{$MINENUMSIZE 4}
{$IFDEF FPC}
  {$IFNDEF FPC_DELPHI}
    {$IFNDEF FPC_DELPHIUNICODE}
      {$MODE OBJFPC}
    {$ENDIF}
  {$ENDIF}
  {$MODESWITCH ADVANCEDRECORDS}
{$ENDIF}

interface

uses SysUtils;

const
{$IFDEF MSWINDOWS}
  { The library's file name. }
  QuarnelLib = 'Quarnel.dll';
{$ELSE}
  { The library's link name (libquarnel.so, found by the linker and the loader). }
  QuarnelLib = 'quarnel';
{$ENDIF}

  { Failure code of a position outside the text. }
  QUARNEL_EXCEPTION_RANGE = $E0510001;
  { Failure code of text that cannot be read as a number, or a refused format. }
  QUARNEL_EXCEPTION_CONVERT = $E0510002;
  { Failure code of exhausted memory or a length beyond the limits. }
  QUARNEL_EXCEPTION_OUT_OF_MEMORY = $E0510003;
  { Failure code of a handle refused in checked-handles mode. }
  QUARNEL_EXCEPTION_INVALID_HANDLE = $E0510004;
  { Failure code of any other failure. }
  QUARNEL_EXCEPTION_INTERNAL = $E05100FF;

type
  { The record an A handle points to. }
  LAnsiStrRec = record
    { The shared counted bytes; nil when empty. }
    payload: PAnsiChar;
    { The handle's index base, 0 or 1. }
    charIndexBase: Int32;
  end;
  { The record a W handle points to. }
  LWideStrRec = record
    { The handle's BSTR; nil when empty. }
    payload: PWideChar;
    { The handle's index base, 0 or 1. }
    charIndexBase: Int32;
  end;
  { A handle of the A family (bytes in the ANSI code page). }
  LStrHandleA = ^LAnsiStrRec;
  { A handle of the W family (UTF-16). }
  LStrHandleW = ^LWideStrRec;
  { The address of a W handle's BSTR. }
  PLBSTR = ^PWideChar;
  { A C int array, as the fixed-layout splitters read it. }
  PQuarnelInt = ^Int32;

  { A wrapper of one A handle; ending it destroys the handle only when owned. }
  CLAnsiStr = record
    { The wrapped handle. }
    handle: LStrHandleA;
    { Whether ending the wrapper destroys the handle. }
    owned: Boolean;
  end;
  { A wrapper of one W handle; ending it destroys the handle only when owned. }
  CLWideStr = record
    { The wrapped handle. }
    handle: LStrHandleW;
    { Whether ending the wrapper destroys the handle. }
    owned: Boolean;
  end;
  { Pointer to an A wrapper. }
  PCLAnsiStr = ^CLAnsiStr;
  { Pointer to a W wrapper. }
  PCLWideStr = ^CLWideStr;
  { Pointer to a list's array of A wrappers. }
  PPCLAnsiStr = ^PCLAnsiStr;
  { Pointer to a list's array of W wrappers. }
  PPCLWideStr = ^PCLWideStr;

  { The list the A splitting functions fill; release it with LStrListEndA. }
  CLAnsiStrList = record
    { Slots added at each growth, at least 1. }
    growBy: Int32;
    { Slots allocated, each a live wrapper. }
    capacity: Int32;
    { Slots holding the fields of the last split. }
    count: Int32;
    { The capacity wrapper pointers; nil while capacity is 0. }
    items: PPCLAnsiStr;
  end;
  { The list the W splitting functions fill; release it with LStrListEndW. }
  CLWideStrList = record
    { Slots added at each growth, at least 1. }
    growBy: Int32;
    { Slots allocated, each a live wrapper. }
    capacity: Int32;
    { Slots holding the fields of the last split. }
    count: Int32;
    { The capacity wrapper pointers; nil while capacity is 0. }
    items: PPCLWideStr;
  end;
  { Pointer to an A list. }
  PCLAnsiStrList = ^CLAnsiStrList;
  { Pointer to a W list. }
  PCLWideStrList = ^CLWideStrList;

  { Any failure without a runtime class of its own. }
  EQuarnelError = class(Exception)
  private
    FCode: UInt32;
  public
    { An exception with the library's failure code and message. }
    constructor CreateCode(ACode: UInt32; const AMessage: string);
    { The library's failure code (QUARNEL_EXCEPTION_*). }
    property Code: UInt32 read FCode;
  end;

  { A position outside the text. }
  EQuarnelRangeError = class(ERangeError)
  private
    FCode: UInt32;
  public
    { An exception with the library's failure code and message. }
    constructor CreateCode(ACode: UInt32; const AMessage: string);
    { QUARNEL_EXCEPTION_RANGE. }
    property Code: UInt32 read FCode;
  end;

  { Text that is not a number, or a format the library refuses. }
  EQuarnelConvertError = class(EConvertError)
  private
    FCode: UInt32;
  public
    { An exception with the library's failure code and message. }
    constructor CreateCode(ACode: UInt32; const AMessage: string);
    { QUARNEL_EXCEPTION_CONVERT. }
    property Code: UInt32 read FCode;
  end;

  { Memory exhausted, or a length beyond what a handle holds. }
  EQuarnelOutOfMemory = class(EOutOfMemory)
  private
    FCode: UInt32;
  public
    { An exception with the library's failure code and message. }
    constructor CreateCode(ACode: UInt32; const AMessage: string);
    { QUARNEL_EXCEPTION_OUT_OF_MEMORY. }
    property Code: UInt32 read FCode;
    { Frees the instance (see the implementation). }
    procedure FreeInstance; override;
  end;

  { A handle that is destroyed, was never one, or is of the other family,
    refused when the library checks handles (QUARNEL_CHECK_HANDLES=1). }
  EQuarnelInvalidHandle = class(EInvalidPointer)
  private
    FCode: UInt32;
  public
    { An exception with the library's failure code and message. }
    constructor CreateCode(ACode: UInt32; const AMessage: string);
    { QUARNEL_EXCEPTION_INVALID_HANDLE. }
    property Code: UInt32 read FCode;
    { Frees the instance (see the implementation). }
    procedure FreeInstance; override;
  end;

{ BEGIN GENERATED DECLARATIONS (tools/check_bindings.py --write) }
{ An empty handle. }
function LStrAllocA: LStrHandleA;
{ An empty handle. }
function LStrAllocW: LStrHandleW;
{ A handle with src's text. }
function LStrAllocCloneAA(src: LStrHandleA): LStrHandleA;
{ A handle with src's text. }
function LStrAllocCloneWW(src: LStrHandleW): LStrHandleW;
{ W to A: src's units up to its first zero unit, encoded into the ANSI code page
  (unrepresentable characters become the code page's default char). }
function LStrAllocCloneWA(src: LStrHandleW): LStrHandleA;
{ A to W: all of src's bytes, zero bytes included, decoded to UTF-16. }
function LStrAllocCloneAW(src: LStrHandleA): LStrHandleW;
{ From a (text, length) pair under the length rule. }
function LStrAllocFromASzStrA(Atext: PAnsiChar; length: Int32): LStrHandleA;
{ From a (text, length) pair under the length rule. }
function LStrAllocFromWSzStrA(Atext: PWideChar; length: Int32): LStrHandleA;
{ From a (text, length) pair under the length rule. }
function LStrAllocFromASzStrW(Atext: PAnsiChar; length: Int32): LStrHandleW;
{ From a (text, length) pair under the length rule. }
function LStrAllocFromWSzStrW(Atext: PWideChar; length: Int32): LStrHandleW;
{ One character. }
function LStrAllocFromCharA(c: AnsiChar): LStrHandleA;
{ One character. }
function LStrAllocFromCharW(c: WideChar): LStrHandleW;
{ count copies of c (zero characters included); empty for count <= 0. }
function LStrAllocStringOfCharA(c: AnsiChar; count: Int32): LStrHandleA;
{ count copies of c (zero characters included); empty for count <= 0. }
function LStrAllocStringOfCharW(c: WideChar; count: Int32): LStrHandleW;
{ Releases the handle and its reference to the payload. }
procedure LStrDestroyA(h: LStrHandleA);
{ Releases the handle and its reference to the payload. }
procedure LStrDestroyW(h: LStrHandleW);
{ A: if the payload is shared, gives the handle a private copy (the payload pointer changes);
  otherwise nothing. }
procedure LStrUniqueA(h: LStrHandleA);
{ A: if the payload is shared, gives the handle a private copy (the payload pointer changes);
  otherwise nothing. }
procedure LStrUniqueW(h: LStrHandleW);
{ The handle's index base. }
function LStrGetCharIndexBaseA(h: LStrHandleA): Int32;
{ The handle's index base. }
function LStrGetCharIndexBaseW(h: LStrHandleW): Int32;
{ The handle's index base. }
function LStrSetCharIndexBaseA(h: LStrHandleA; base: Int32): Int32;
{ The handle's index base. }
function LStrSetCharIndexBaseW(h: LStrHandleW; base: Int32): Int32;
{ The text, zero-terminated, for reading only (an A payload may be shared). }
function LStrCstrA(h: LStrHandleA): PAnsiChar;
{ The text, zero-terminated, for reading only (an A payload may be shared). }
function LStrCstrW(h: LStrHandleW): PWideChar;
{ The text, zero-terminated, for reading only (an A payload may be shared). }
function LStrCbstrW(h: LStrHandleW): PWideChar;
{ The address of the handle's payload field (numerically h itself): a host may read or replace
  the BSTR there; the library frees whatever BSTR it finds when the handle is next assigned or
  destroyed. }
function LStrBSTRRef(h: LStrHandleW): PLBSTR;
{ Number of bytes / UTF-16 units, zero characters included. }
function LStrLengthA(h: LStrHandleA): Int32;
{ Number of bytes / UTF-16 units, zero characters included. }
function LStrLengthW(h: LStrHandleW): Int32;
{ Sets the length: the first min(old, new) characters stay, added characters have unspecified
  values, 0 empties the handle. }
function LStrSetLengthA(h: LStrHandleA; length: Int32): Int32;
{ Sets the length: the first min(old, new) characters stay, added characters have unspecified
  values, 0 empties the handle. }
function LStrSetLengthW(h: LStrHandleW; length: Int32): Int32;
{ The character at position. }
function LStrGetCharAtA(h: LStrHandleA; position: Int32): AnsiChar;
{ The character at position. }
function LStrGetCharAtW(h: LStrHandleW; position: Int32): WideChar;
{ Writes c at position; other A handles that shared the text keep theirs. }
procedure LStrSetCharAtA(h: LStrHandleA; position: Int32; c: AnsiChar);
{ Writes c at position; other A handles that shared the text keep theirs. }
procedure LStrSetCharAtW(h: LStrHandleW; position: Int32; c: WideChar);
{ The address of the character at position. }
function LStrCharAddrAtA(h: LStrHandleA; position: Int32): PAnsiChar;
{ The address of the character at position. }
function LStrCharAddrAtW(h: LStrHandleW; position: Int32): PWideChar;
{ Gives dst the text of src: the A form shares src's payload, the W form copies it. }
function LStrAssignA(dst: LStrHandleA; src: LStrHandleA): Int32;
{ Gives dst the text of src: the A form shares src's payload, the W form copies it. }
function LStrAssignW(dst: LStrHandleW; src: LStrHandleW): Int32;
{ Gives h a copy of a (text, length) pair under the length rule. }
function LStrAssignASzStrA(h: LStrHandleA; Atext: PAnsiChar; length: Int32): Int32;
{ Gives h a copy of a (text, length) pair under the length rule. }
function LStrAssignWSzStrW(h: LStrHandleW; Atext: PWideChar; length: Int32): Int32;
{ Appends src's text to dst's. }
function LStrAppendA(dst: LStrHandleA; src: LStrHandleA): Int32;
{ Appends src's text to dst's. }
function LStrAppendW(dst: LStrHandleW; src: LStrHandleW): Int32;
{ Appends a (text, length) pair under the length rule. }
function LStrAppendASzStrA(h: LStrHandleA; Atext: PAnsiChar; length: Int32): Int32;
{ Appends a (text, length) pair under the length rule. }
function LStrAppendWSzStrW(h: LStrHandleW; Atext: PWideChar; length: Int32): Int32;
{ Appends one character. }
function LStrAppendCharA(h: LStrHandleA; c: AnsiChar): PAnsiChar;
{ Appends one character. }
function LStrAppendCharW(h: LStrHandleW; c: WideChar): PWideChar;
{ Compares a with b by the rules above. }
function LStrCompareA(a: LStrHandleA; b: LStrHandleA): Int32;
{ Compares a with b by the rules above. }
function LStrCompareICA(a: LStrHandleA; b: LStrHandleA): Int32;
{ Compares a with b by the rules above. }
function LStrCompareW(a: LStrHandleW; b: LStrHandleW): Int32;
{ Compares a with b by the rules above. }
function LStrCompareICW(a: LStrHandleW; b: LStrHandleW): Int32;
{ The first occurrence of pattern's text in h's text: every unit compared exactly (case counts,
  zero characters are ordinary characters). }
function LStrPosA(h: LStrHandleA; pattern: LStrHandleA): Int32;
{ The first occurrence of pattern's text in h's text: every unit compared exactly (case counts,
  zero characters are ordinary characters). }
function LStrPosW(h: LStrHandleW; pattern: LStrHandleW): Int32;
{ The first occurrence of pattern's text in h's text: every unit compared exactly (case counts,
  zero characters are ordinary characters). }
function LStrPosPtrA(h: LStrHandleA; pattern: PAnsiChar): Int32;
{ The first occurrence of pattern's text in h's text: every unit compared exactly (case counts,
  zero characters are ordinary characters). }
function LStrPosPtrW(h: LStrHandleW; pattern: PWideChar): Int32;
{ The first occurrence of pattern's text in h's text: every unit compared exactly (case counts,
  zero characters are ordinary characters). }
function LStrUnicodePosW(h: LStrHandleW; pattern: LStrHandleW): Int32;
{ As LStrPosA, but both texts count only up to their first zero byte, and an occurrence that
  would begin on the trail byte of a double-byte character of the ANSI code page is skipped. }
function LStrAnsiPosA(h: LStrHandleA; pattern: LStrHandleA): Int32;
{ count characters from position pos. }
function LStrSubStringA(h: LStrHandleA; pos: Int32; count: Int32): LStrHandleA;
{ count characters from position pos. }
function LStrSubStringW(h: LStrHandleW; pos: Int32; count: Int32): LStrHandleW;
{ The first / last count characters; the whole text when count is at least its length; empty for
  count <= 0. }
function LStrLeftA(h: LStrHandleA; count: Int32): LStrHandleA;
{ The first / last count characters; the whole text when count is at least its length; empty for
  count <= 0. }
function LStrLeftW(h: LStrHandleW; count: Int32): LStrHandleW;
{ The first / last count characters; the whole text when count is at least its length; empty for
  count <= 0. }
function LStrRightA(h: LStrHandleA; count: Int32): LStrHandleA;
{ The first / last count characters; the whole text when count is at least its length; empty for
  count <= 0. }
function LStrRightW(h: LStrHandleW; count: Int32): LStrHandleW;
{ True when the character at pos is in the delimiter set; false for a position outside the text. }
function LStrIsDelimiterA(h: LStrHandleA; delimiters: LStrHandleA; pos: Int32): Boolean;
{ True when the character at pos is in the delimiter set; false for a position outside the text. }
function LStrIsDelimiterW(h: LStrHandleW; delimiters: LStrHandleW; pos: Int32): Boolean;
{ True when the character at pos is a backslash (the forward slash is not a path delimiter);
  false for a position outside the text. }
function LStrIsPathDelimiterA(h: LStrHandleA; pos: Int32): Boolean;
{ True when the character at pos is a backslash (the forward slash is not a path delimiter);
  false for a position outside the text. }
function LStrIsPathDelimiterW(h: LStrHandleW; pos: Int32): Boolean;
{ The position of the last character of h that is in the delimiter set, or the not-found value. }
function LStrLastDelimiterA(h: LStrHandleA; delimiters: LStrHandleA): Int32;
{ The position of the last character of h that is in the delimiter set, or the not-found value. }
function LStrLastDelimiterW(h: LStrHandleW; delimiters: LStrHandleW): Int32;
{ A pointer to the last character of h, null when h is empty. }
function LStrAnsiLastCharA(h: LStrHandleA): PAnsiChar;
{ A pointer to the last character of h, null when h is empty. }
function LStrUnicodeLastCharW(h: LStrHandleW): PWideChar;
{ Inserts source's text so that it starts at pos: a pos before the first character inserts at
  the start, one past the end appends. }
function LStrInsertA(h: LStrHandleA; source: LStrHandleA; pos: Int32): Int32;
{ Inserts source's text so that it starts at pos: a pos before the first character inserts at
  the start, one past the end appends. }
function LStrInsertW(h: LStrHandleW; source: LStrHandleW; pos: Int32): Int32;
{ Removes up to count characters starting at pos. }
function LStrDeleteA(h: LStrHandleA; pos: Int32; count: Int32): Int32;
{ Removes up to count characters starting at pos. }
function LStrDeleteW(h: LStrHandleW; pos: Int32; count: Int32): Int32;
{ LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
  mapped in place. }
function LStrLowerCaseA(h: LStrHandleA): LStrHandleA;
{ LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
  mapped in place. }
function LStrLowerCaseW(h: LStrHandleW): LStrHandleW;
{ LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
  mapped in place. }
function LStrUpperCaseA(h: LStrHandleA): LStrHandleA;
{ LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
  mapped in place. }
function LStrUpperCaseW(h: LStrHandleW): LStrHandleW;
{ LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
  mapped in place. }
procedure LStrSelfLowerCaseA(h: LStrHandleA);
{ LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
  mapped in place. }
procedure LStrSelfLowerCaseW(h: LStrHandleW);
{ LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
  mapped in place. }
procedure LStrSelfUpperCaseA(h: LStrHandleA);
{ LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase / SelfUpperCase: h
  mapped in place. }
procedure LStrSelfUpperCaseW(h: LStrHandleW);
{ Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place. }
function LStrTrimA(h: LStrHandleA): LStrHandleA;
{ Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place. }
function LStrTrimW(h: LStrHandleW): LStrHandleW;
{ Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place. }
function LStrTrimLeftA(h: LStrHandleA): LStrHandleA;
{ Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place. }
function LStrTrimLeftW(h: LStrHandleW): LStrHandleW;
{ Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place. }
function LStrTrimRightA(h: LStrHandleA): LStrHandleA;
{ Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place. }
function LStrTrimRightW(h: LStrHandleW): LStrHandleW;
{ Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place. }
procedure LStrSelfTrimA(h: LStrHandleA);
{ Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place. }
procedure LStrSelfTrimW(h: LStrHandleW);
{ Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place. }
procedure LStrSelfTrimLeftA(h: LStrHandleA);
{ Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place. }
procedure LStrSelfTrimLeftW(h: LStrHandleW);
{ Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place. }
procedure LStrSelfTrimRightA(h: LStrHandleA);
{ Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self forms trim h in place. }
procedure LStrSelfTrimRightW(h: LStrHandleW);
{ h's text padded on the left (PadLeft) or right (PadRight). }
function LStrPadLeftA(h: LStrHandleA; padChar: AnsiChar; width: Int32): LStrHandleA;
{ h's text padded on the left (PadLeft) or right (PadRight). }
function LStrPadLeftW(h: LStrHandleW; padChar: WideChar; width: Int32): LStrHandleW;
{ h's text padded on the left (PadLeft) or right (PadRight). }
function LStrPadRightA(h: LStrHandleA; padChar: AnsiChar; width: Int32): LStrHandleA;
{ h's text padded on the left (PadLeft) or right (PadRight). }
function LStrPadRightW(h: LStrHandleW; padChar: WideChar; width: Int32): LStrHandleW;
{ h's text with the occurrences of search replaced, as described above. }
function LStrReplaceA(h: LStrHandleA; search: PAnsiChar; replacement: PAnsiChar): LStrHandleA;
{ h's text with the occurrences of search replaced, as described above. }
function LStrReplaceW(h: LStrHandleW; search: PWideChar; replacement: PWideChar): LStrHandleW;
{ Splits at every separator into the slotCount wrappers at slots (each must already hold a live
  handle). }
function SplitBySepA(source: PCLAnsiStr; separator: AnsiChar; slotCount: Int32; slots: PCLAnsiStr; trim: Boolean): Int32;
{ Splits at every separator into the slotCount wrappers at slots (each must already hold a live
  handle). }
function SplitBySepW(source: PCLWideStr; separator: WideChar; slotCount: Int32; slots: PCLWideStr; trim: Boolean): Int32;
{ The same fields, every one of them, into a list. }
function SplitBySepExA(source: PCLAnsiStr; separator: AnsiChar; list: PCLAnsiStrList; trim: Boolean): Int32;
{ The same fields, every one of them, into a list. }
function SplitBySepExW(source: PCLWideStr; separator: WideChar; list: PCLWideStrList; trim: Boolean): Int32;
{ Fixed-width records. }
function SplitByFixedLayoutA(source: PCLAnsiStr; fieldCount: Int32; widths: PQuarnelInt; list: PCLAnsiStrList; trim: Boolean): Int32;
{ Fixed-width records. }
function SplitByFixedLayoutW(source: PCLWideStr; fieldCount: Int32; widths: PQuarnelInt; list: PCLWideStrList; trim: Boolean): Int32;
{ Fixed-width records. }
function SplitByFixedLayoutExA(source: PCLAnsiStr; fieldCount: Int32; columns: PQuarnelInt; list: PCLAnsiStrList; trim: Boolean): Int32;
{ Fixed-width records. }
function SplitByFixedLayoutExW(source: PCLWideStr; fieldCount: Int32; columns: PQuarnelInt; list: PCLWideStrList; trim: Boolean): Int32;
{ Splits a zero-terminated "name<separator>value" text at the first separator: on success the
  list holds the name (slot 0) and the value (slot 1, later separators included) and the result
  is true. }
function SplitNamedEquA(Atext: PAnsiChar; list: PCLAnsiStrList; trim: Boolean; separator: AnsiChar): Boolean;
{ Splits a zero-terminated "name<separator>value" text at the first separator: on success the
  list holds the name (slot 0) and the value (slot 1, later separators included) and the result
  is true. }
function SplitNamedEquW(Atext: PWideChar; list: PCLWideStrList; trim: Boolean; separator: WideChar): Boolean;
{ A block of at least bytes bytes from the shared heap (0 gives a block too), to be released
  with LStrHeapFree or the platform's own release for that heap. }
function LStrHeapAlloc(bytes: Int32): Pointer;
{ Releases a block of the shared heap. }
procedure LStrHeapFree(block: Pointer);
{ Ends a list: every non-null wrapper among its capacity slots is ended (an owned handle is
  destroyed) and freed, then the array is freed. }
procedure LStrListEndA(list: PCLAnsiStrList);
{ Ends a list: every non-null wrapper among its capacity slots is ended (an owned handle is
  destroyed) and freed, then the array is freed. }
procedure LStrListEndW(list: PCLWideStrList);
{ The capacity LStrWideCharA needs for h. }
function LStrWideCharBufSizeA(h: LStrHandleA): Int32;
{ Converts h's text into the caller's buffer. }
function LStrWideCharA(h: LStrHandleA; buffer: PWideChar; capacity: Int32): PWideChar;
{ The size of h's text in bytes. }
function LStrWideCharBufSizeW(h: LStrHandleW): Int32;
{ Entry id of module's string table, as described above. }
function LStrAllocLoadStrA(module: Pointer; id: Int32): LStrHandleA;
{ Entry id of module's string table, as described above. }
function LStrAllocLoadStrW(module: Pointer; id: Int32): LStrHandleW;
{ New handles with the decimal text of a 64-bit integer: "-9223372036854775808",
  "18446744073709551615", "0". }
function LStrAllocFromInt64A(value: Int64): LStrHandleA;
{ New handles with the decimal text of a 64-bit integer: "-9223372036854775808",
  "18446744073709551615", "0". }
function LStrAllocFromInt64W(value: Int64): LStrHandleW;
{ New handles with the decimal text of a 64-bit integer: "-9223372036854775808",
  "18446744073709551615", "0". }
function LStrAllocFromUInt64A(value: UInt64): LStrHandleA;
{ New handles with the decimal text of a 64-bit integer: "-9223372036854775808",
  "18446744073709551615", "0". }
function LStrAllocFromUInt64W(value: UInt64): LStrHandleW;
{ A new handle with the general text of value: at most 15 significant digits, trailing zeros
  removed, the user's decimal separator; fixed notation from 0.0001 up to 15 integer digits,
  otherwise scientific with the exponent as "E20" / "E-5" (1e20 gives "1E20", 1/3
  "0.333333333333333"). }
function LStrAllocFromDoubleA(value: Double): LStrHandleA;
{ A new handle with the general text of value: at most 15 significant digits, trailing zeros
  removed, the user's decimal separator; fixed notation from 0.0001 up to 15 integer digits,
  otherwise scientific with the exponent as "E20" / "E-5" (1e20 gives "1E20", 1/3
  "0.333333333333333"). }
function LStrAllocFromDoubleW(value: Double): LStrHandleW;
{ A new handle with value's 32-bit pattern in upper-case hexadecimal, no prefix, zero-padded on
  the left to at least digits digits (never cut): (255, 4) gives "00FF", (-1, 0) "FFFFFFFF". }
function LStrIntToHexA(value: Int32; digits: Int32): LStrHandleA;
{ A new handle with value's 32-bit pattern in upper-case hexadecimal, no prefix, zero-padded on
  the left to at least digits digits (never cut): (255, 4) gives "00FF", (-1, 0) "FFFFFFFF". }
function LStrIntToHexW(value: Int32; digits: Int32): LStrHandleW;
{ The handle's text as an integer. }
function LStrToIntA(h: LStrHandleA): Int32;
{ The handle's text as an integer. }
function LStrToIntW(h: LStrHandleW): Int32;
{ The handle's whole text as a number, or defaultValue. }
function LStrToIntDefA(h: LStrHandleA; defaultValue: Int32): Int32;
{ The handle's whole text as a number, or defaultValue. }
function LStrToIntDefW(h: LStrHandleW; defaultValue: Int32): Int32;
{ The handle's whole text as a number, or defaultValue. }
function LStrToDoubleDefA(h: LStrHandleA; defaultValue: Double): Double;
{ The handle's whole text as a number, or defaultValue. }
function LStrToDoubleDefW(h: LStrHandleW; defaultValue: Double): Double;
{ Appends value's decimal text and returns the handle's characters (the A text; the W BSTR),
  valid until the handle next changes. }
function LStrAppendIntValueA(h: LStrHandleA; value: Int32): PAnsiChar;
{ Appends value's decimal text and returns the handle's characters (the A text; the W BSTR),
  valid until the handle next changes. }
function LStrAppendIntValueW(h: LStrHandleW; value: Int32): PWideChar;
{ A new handle with value laid out by format (its low byte; other codes give an empty handle). }
function LStrFloatToStrFA(value: Double; format: Int32; precision: Int32; digits: Int32): LStrHandleA;
{ A new handle with value laid out by format (its low byte; other codes give an empty handle). }
function LStrFloatToStrFW(value: Double; format: Int32; precision: Int32; digits: Int32): LStrHandleW;
{ A new handle with *value laid out by the picture in the format handle (its text up to the
  first zero character). }
function LStrFormatFloatA(format: LStrHandleA; value: PDouble): LStrHandleA;
{ A new handle with *value laid out by the picture in the format handle (its text up to the
  first zero character). }
function LStrFormatFloatW(format: LStrHandleW; value: PDouble): LStrHandleW;
{ Replaces dest's text with the formatted text and returns its length. }
function _LStrVPrintfA(dest: LStrHandleA; format: PAnsiChar; args: Pointer): Int32;
{ Replaces dest's text with the formatted text and returns its length. }
function _LStrVPrintfW(dest: LStrHandleW; format: PWideChar; args: Pointer): Int32;
{ Appends the formatted text to dest's and returns the length appended. }
function _LStrCatVPrintfA(dest: LStrHandleA; format: PAnsiChar; args: Pointer): Int32;
{ Appends the formatted text to dest's and returns the length appended. }
function _LStrCatVPrintfW(dest: LStrHandleW; format: PWideChar; args: Pointer): Int32;
{ END GENERATED DECLARATIONS }

{ Sets how failures leave the calling thread's calls and returns the previous
  mode. Pascal code cannot catch the library's raised failures, so the unit
  keeps every thread in record mode (1): asking for 0 changes nothing and
  returns 1. }
function LStrSetFailureMode(mode: Int32): Int32;
{ The failure of the thread's last call, with its message copied to message
  (capacity bytes at most, terminator included); 0 after a success. The
  checked wrappers have raised it already. }
function LStrGetLastFailure(message: PAnsiChar; capacity: Int32): UInt32;

{ A new A handle with the text of the format handle formatted with args
  (Integer, Int64, QWord, Double/Extended, Char, PAnsiChar, AnsiString,
  PWideChar, UnicodeString, pointers), as the C formatter reads them. }
function _LStrFormatA(format: LStrHandleA; const args: array of const): LStrHandleA;
{ A new W handle with the text of the format handle formatted with args. }
function _LStrFormatW(format: LStrHandleW; const args: array of const): LStrHandleW;
{ Replaces dest's text with the formatted text and returns its length. }
function _LStrSprintfA(dest: LStrHandleA; format: PAnsiChar; const args: array of const): Int32;
{ Replaces dest's text with the formatted text and returns its length. }
function _LStrSprintfW(dest: LStrHandleW; format: PWideChar; const args: array of const): Int32;
{ The same operation as _LStrSprintfA. }
function _LStrPrintfA(dest: LStrHandleA; format: PAnsiChar; const args: array of const): Int32;
{ The same operation as _LStrSprintfW. }
function _LStrPrintfW(dest: LStrHandleW; format: PWideChar; const args: array of const): Int32;
{ Appends the formatted text to dest's and returns the length appended. }
function _LStrCatSprintfA(dest: LStrHandleA; format: PAnsiChar; const args: array of const): Int32;
{ Appends the formatted text to dest's and returns the length appended. }
function _LStrCatSprintfW(dest: LStrHandleW; format: PWideChar; const args: array of const): Int32;
{ The same operation as _LStrCatSprintfA. }
function _LStrCatPrintfA(dest: LStrHandleA; format: PAnsiChar; const args: array of const): Int32;
{ The same operation as _LStrCatSprintfW. }
function _LStrCatPrintfW(dest: LStrHandleW; format: PWideChar; const args: array of const): Int32;

{ Puts the calling thread in record mode; every call of the unit does this by
  itself, so this is only for threads that call the library through other
  declarations too. }
procedure QuarnelRecordFailures;
{ Raises the thread's recorded failure, if any: for calls made through other
  declarations than this unit's. }
procedure QuarnelCheck;
{ The library's failure code carried by E, or 0 when E is not a failure of the
  library. }
function QuarnelFailureCode(E: Exception): UInt32;
{ The text of an A handle, zero bytes included. }
function QuarnelTextA(h: LStrHandleA): AnsiString;
{ The text of a W handle, zero units included. }
function QuarnelTextW(h: LStrHandleW): UnicodeString;
{ The handle of field i (from 0) of an A list. }
function QuarnelFieldA(const list: CLAnsiStrList; i: Int32): LStrHandleA;
{ The handle of field i (from 0) of a W list. }
function QuarnelFieldW(const list: CLWideStrList; i: Int32): LStrHandleW;
{ A block of the heap shared with the library; raises EQuarnelOutOfMemory
  instead of returning nil. Release it with LStrHeapFree. }
function QuarnelHeapAlloc(bytes: Int32): Pointer;

type
  { Keeps a handle alive for the strings that share it; internal. }
  IQuarnelOwner = interface
    ['{6B1D0C52-3F4E-4C8A-9E27-5A1D2F7B8C31}']
    { Whether more than one string refers to the handle. }
    function Shared: Boolean;
  end;

  { A string of the A family (bytes in the ANSI code page) that frees its handle when the last copy
    goes. A variable that was never assigned is empty. Copies share the handle
    until one of them changes; positions follow IndexBase (1 unless set), so
    by default they count from 1 and "not found" is 0, as with Pos. }
  TQuarnelStrA = record
  public type
    { The fields of a split. }
    TArray = array of TQuarnelStrA;
  private
    FHandle: LStrHandleA;
    FOwner: IQuarnelOwner;
    function R: LStrHandleA;
    function W: LStrHandleA;
    function GetLength: Int32;
    procedure SetLen(value: Int32);
    function GetChar(position: Int32): AnsiChar;
    procedure SetChar(position: Int32; c: AnsiChar);
    function GetBase: Int32;
    procedure SetBase(value: Int32);
    function GetText: AnsiString;
    procedure SetText(const value: AnsiString);
    class function Fields(var list: CLAnsiStrList): TArray; static;
  public
    { A string that takes over h and destroys it in the end; nil gives an
      empty string. }
    class function Adopt(h: LStrHandleA): TQuarnelStrA; static;
    { A string with the text of s (zero characters included). }
    class function Create(const s: AnsiString): TQuarnelStrA; static;
    { A string with count characters from p (a negative count reads up to the
      terminating zero). }
    class function FromBuffer(p: PAnsiChar; count: Int32): TQuarnelStrA; static;
    { A string of one character (#0 gives one zero byte). }
    class function OfChar(c: AnsiChar): TQuarnelStrA; overload; static;
    { A string of count copies of c; empty for count <= 0. }
    class function OfChar(c: AnsiChar; count: Int32): TQuarnelStrA; overload; static;
    { The decimal text of a signed 64-bit integer, as IntToStr writes it. }
    class function FromInt(value: Int64): TQuarnelStrA; static;
    { The decimal text of an unsigned 64-bit integer. }
    class function FromUInt(value: UInt64): TQuarnelStrA; static;
    { The general text of value: 15 significant digits, the user's decimal
      separator, "NAN" and "INF" for the special values. }
    class function FromFloat(value: Double): TQuarnelStrA; static;
    { value's 32-bit pattern in upper-case hexadecimal, at least digits long. }
    class function IntToHex(value: Int32; digits: Int32): TQuarnelStrA; static;
    { value laid out as SysUtils.FloatToStrF lays it out (format, precision
      significant digits, digits as the format uses them), with the user's
      regional settings. }
    class function FloatToStrF(value: Double; layout: TFloatFormat; precision, digits: Int32): TQuarnelStrA; static;
    { value laid out by a FormatFloat picture ("#,##0.00;(#,##0.00)"). }
    class function FormatFloat(const picture: TQuarnelStrA; value: Double): TQuarnelStrA; static;
    { The C-style format fmt ("%d-%s") filled with args. }
    class function Format(const fmt: TQuarnelStrA; const args: array of const): TQuarnelStrA; static;
    { Entry id of module's string table (nil: the program's own); empty when
      absent. }
    class function LoadStr(module: Pointer; id: Int32): TQuarnelStrA; static;
    { Splits line at its first separator into name and value (later separators
      stay in the value); false, with both empty, when there is none. line
      counts up to its first zero character. }
    class function SplitNameValue(const line: AnsiString; separator: AnsiChar; out name, value: TQuarnelStrA; trimmed: Boolean = True): Boolean; static;

    { The handle, for raw calls: owned by this string and not shared with
      another one, so raw calls may change it; valid while the string lives
      and is not assigned. }
    function Handle: LStrHandleA;
    { A copy with its own handle (the text is shared until one changes). }
    function Clone: TQuarnelStrA;
    { Gives the handle a payload of its own, shared with no other handle. }
    procedure Unique;
    { The characters, zero-terminated, for reading until the string changes. }
    function Data: PAnsiChar;
    { The address of the character at position, for writing within the
      length until the string changes. }
    function CharAddr(position: Int32): PAnsiChar;
    { Whether the text is empty. }
    function IsEmpty: Boolean;
    { -1, 0 or 1 (negative, zero or positive for W): unit by unit. }
    function Compare(const other: TQuarnelStrA): Int32;
    { Case-insensitive comparison: negative, zero or positive. }
    function CompareText(const other: TQuarnelStrA): Int32;
    { The position of the first occurrence of pattern, compared exactly; not
      found (0 under base 1) when absent or empty. }
    function Pos(const pattern: TQuarnelStrA): Int32; overload;
    { The position of the first occurrence of pattern. }
    function Pos(const pattern: AnsiString): Int32; overload;
    { As Pos, but both texts count up to their first zero byte and a match
      that would start on the trail byte of a double-byte character is
      skipped. }
    function AnsiPos(const pattern: TQuarnelStrA): Int32;
    { count characters from index (a negative count: the rest). }
    function SubString(index, count: Int32): TQuarnelStrA;
    { The first count characters. }
    function Left(count: Int32): TQuarnelStrA;
    { The last count characters. }
    function Right(count: Int32): TQuarnelStrA;
    { Whether the character at index is one of delimiters; false outside the text. }
    function IsDelimiter(const delimiters: TQuarnelStrA; index: Int32): Boolean;
    { Whether the character at index is a backslash. }
    function IsPathDelimiter(index: Int32): Boolean;
    { The position of the last character that is one of delimiters. }
    function LastDelimiter(const delimiters: TQuarnelStrA): Int32;
    { A pointer to the last character, nil when empty. }
    function LastChar: PAnsiChar;
    { Inserts source so that it starts at index. }
    procedure Insert(const source: TQuarnelStrA; index: Int32);
    { Removes up to count characters from index. }
    procedure Delete(index, count: Int32);
    { A lower-case copy (the user's locale; the length never changes). }
    function LowerCase: TQuarnelStrA;
    { An upper-case copy (the user's locale; the length never changes). }
    function UpperCase: TQuarnelStrA;
    { Changes the text to lower case. }
    procedure SelfLowerCase;
    { Changes the text to upper case. }
    procedure SelfUpperCase;
    { A copy without the characters of code 0 to 32 at both ends, as Trim. }
    function Trim: TQuarnelStrA;
    { A copy without the blanks at the start. }
    function TrimLeft: TQuarnelStrA;
    { A copy without the blanks at the end. }
    function TrimRight: TQuarnelStrA;
    { Removes the blanks at both ends. }
    procedure SelfTrim;
    { Removes the blanks at the start. }
    procedure SelfTrimLeft;
    { Removes the blanks at the end. }
    procedure SelfTrimRight;
    { A copy of width characters, padChar filling the left. }
    function PadLeft(padChar: AnsiChar; width: Int32): TQuarnelStrA;
    { A copy of width characters, padChar filling the right. }
    function PadRight(padChar: AnsiChar; width: Int32): TQuarnelStrA;
    { A copy with every occurrence of search replaced, pass after pass, until
      none is left (one pass when replacement contains search). Both count up
      to their first zero character. }
    function Replace(const search, replacement: AnsiString): TQuarnelStrA;
    { Gives the string other's text, keeping its own index base. }
    procedure Assign(const other: TQuarnelStrA);
    { Appends other's text. }
    procedure Append(const other: TQuarnelStrA); overload;
    { Appends s. }
    procedure Append(const s: AnsiString); overload;
    { Appends one character (#0 included). }
    procedure AppendChar(c: AnsiChar);
    { Appends value's decimal text. }
    procedure AppendInt(value: Int32);
    { Replaces the text with fmt filled with args; returns the new length. }
    function Sprintf(const fmt: AnsiString; const args: array of const): Int32;
    { Appends fmt filled with args; returns the length appended. }
    function CatSprintf(const fmt: AnsiString; const args: array of const): Int32;
    { The fields between separators (a separator that ends the text adds no
      empty field), each trimmed of blanks when trimmed is true. }
    function Split(separator: AnsiChar; trimmed: Boolean = False): TArray;
    { Splits into the strings of slots: the rest of the text is dropped when
      there are more fields, slots beyond the fields are emptied. Returns the
      number of fields stored. }
    function SplitInto(separator: AnsiChar; var slots: array of TQuarnelStrA; trimmed: Boolean = False): Int32;
    { Fields of widths[i] characters laid end to end (a negative width takes
      the rest). }
    function SplitFixed(const widths: array of Int32; trimmed: Boolean = False): TArray;
    { Fields from (first, last) column pairs, counting from 1. }
    function SplitColumns(const columns: array of Int32; trimmed: Boolean = False): TArray;
    { The text as an integer (decimal, or hexadecimal after "$", "x", "0x");
      raises EQuarnelConvertError otherwise. }
    function ToInt: Int32;
    { The whole text as an integer, or default when it is not one or is
      beyond 32 bits, as StrToIntDef. }
    function ToIntDef(defaultValue: Int32): Int32;
    { The whole text as a number with "." as the decimal point, or default. }
    function ToFloatDef(defaultValue: Double): Double;
    { A string with the text of s converted to the ANSI code page
      (unrepresentable characters become its default character). }
    class function FromWide(const s: UnicodeString): TQuarnelStrA; static;
    { The text up to its first zero byte, converted to UTF-16 by the library. }
    function ToUnicode: UnicodeString;
    { The number of characters (bytes), zero characters included; setting it
      keeps the first characters and leaves added ones unspecified. }
    property Length: Int32 read GetLength write SetLen;
    { The character at position; a position outside the text raises
      EQuarnelRangeError. }
    property Chars[position: Int32]: AnsiChar read GetChar write SetChar; default;
    { The base positions count from: 1 (the default) or 0. }
    property IndexBase: Int32 read GetBase write SetBase;
    { The text, zero characters included. }
    property Text: AnsiString read GetText write SetText;

{$IFDEF FPC}
    { A string with s's text. }
    class operator :=(const s: AnsiString): TQuarnelStrA;
    { The text. }
    class operator explicit(const s: TQuarnelStrA): AnsiString;
    { The two texts one after the other. }
    class operator +(const a, b: TQuarnelStrA): TQuarnelStrA;
    { Whether the texts are the same, unit by unit. }
    class operator =(const a, b: TQuarnelStrA): Boolean;
    { Ordering by Compare. }
    class operator <(const a, b: TQuarnelStrA): Boolean;
    { Ordering by Compare. }
    class operator <=(const a, b: TQuarnelStrA): Boolean;
    { Ordering by Compare. }
    class operator >(const a, b: TQuarnelStrA): Boolean;
    { Ordering by Compare. }
    class operator >=(const a, b: TQuarnelStrA): Boolean;
{$ELSE}
    { A string with s's text. }
    class operator Implicit(const s: AnsiString): TQuarnelStrA;
    { The text. }
    class operator Explicit(const s: TQuarnelStrA): AnsiString;
    { The two texts one after the other. }
    class operator Add(const a, b: TQuarnelStrA): TQuarnelStrA;
    { Whether the texts are the same, unit by unit. }
    class operator Equal(const a, b: TQuarnelStrA): Boolean;
    { Whether the texts differ. }
    class operator NotEqual(const a, b: TQuarnelStrA): Boolean;
    { Ordering by Compare. }
    class operator LessThan(const a, b: TQuarnelStrA): Boolean;
    { Ordering by Compare. }
    class operator LessThanOrEqual(const a, b: TQuarnelStrA): Boolean;
    { Ordering by Compare. }
    class operator GreaterThan(const a, b: TQuarnelStrA): Boolean;
    { Ordering by Compare. }
    class operator GreaterThanOrEqual(const a, b: TQuarnelStrA): Boolean;
{$ENDIF}
  end;
  { The fields of a split of an A string. }
  TQuarnelStrAArray = TQuarnelStrA.TArray;

  { A string of the W family (UTF-16) that frees its handle when the last copy
    goes. A variable that was never assigned is empty. Copies share the handle
    until one of them changes; positions follow IndexBase (1 unless set), so
    by default they count from 1 and "not found" is 0, as with Pos. }
  TQuarnelStrW = record
  public type
    { The fields of a split. }
    TArray = array of TQuarnelStrW;
  private
    FHandle: LStrHandleW;
    FOwner: IQuarnelOwner;
    function R: LStrHandleW;
    function W: LStrHandleW;
    function GetLength: Int32;
    procedure SetLen(value: Int32);
    function GetChar(position: Int32): WideChar;
    procedure SetChar(position: Int32; c: WideChar);
    function GetBase: Int32;
    procedure SetBase(value: Int32);
    function GetText: UnicodeString;
    procedure SetText(const value: UnicodeString);
    class function Fields(var list: CLWideStrList): TArray; static;
  public
    { A string that takes over h and destroys it in the end; nil gives an
      empty string. }
    class function Adopt(h: LStrHandleW): TQuarnelStrW; static;
    { A string with the text of s (zero characters included). }
    class function Create(const s: UnicodeString): TQuarnelStrW; static;
    { A string with count characters from p (a negative count reads up to the
      terminating zero). }
    class function FromBuffer(p: PWideChar; count: Int32): TQuarnelStrW; static;
    { A string of one character (#0 gives an empty string). }
    class function OfChar(c: WideChar): TQuarnelStrW; overload; static;
    { A string of count copies of c; empty for count <= 0. }
    class function OfChar(c: WideChar; count: Int32): TQuarnelStrW; overload; static;
    { The decimal text of a signed 64-bit integer, as IntToStr writes it. }
    class function FromInt(value: Int64): TQuarnelStrW; static;
    { The decimal text of an unsigned 64-bit integer. }
    class function FromUInt(value: UInt64): TQuarnelStrW; static;
    { The general text of value: 15 significant digits, the user's decimal
      separator, "NAN" and "INF" for the special values. }
    class function FromFloat(value: Double): TQuarnelStrW; static;
    { value's 32-bit pattern in upper-case hexadecimal, at least digits long. }
    class function IntToHex(value: Int32; digits: Int32): TQuarnelStrW; static;
    { value laid out as SysUtils.FloatToStrF lays it out (format, precision
      significant digits, digits as the format uses them), with the user's
      regional settings. }
    class function FloatToStrF(value: Double; layout: TFloatFormat; precision, digits: Int32): TQuarnelStrW; static;
    { value laid out by a FormatFloat picture ("#,##0.00;(#,##0.00)"). }
    class function FormatFloat(const picture: TQuarnelStrW; value: Double): TQuarnelStrW; static;
    { The C-style format fmt ("%d-%s") filled with args. }
    class function Format(const fmt: TQuarnelStrW; const args: array of const): TQuarnelStrW; static;
    { Entry id of module's string table (nil: the program's own); empty when
      absent. }
    class function LoadStr(module: Pointer; id: Int32): TQuarnelStrW; static;
    { Splits line at its first separator into name and value (later separators
      stay in the value); false, with both empty, when there is none. line
      counts up to its first zero character. }
    class function SplitNameValue(const line: UnicodeString; separator: WideChar; out name, value: TQuarnelStrW; trimmed: Boolean = True): Boolean; static;

    { The handle, for raw calls: owned by this string and not shared with
      another one, so raw calls may change it; valid while the string lives
      and is not assigned. }
    function Handle: LStrHandleW;
    { A copy with its own handle (the text is shared until one changes). }
    function Clone: TQuarnelStrW;
    { Gives the handle a payload of its own, shared with no other handle. }
    procedure Unique;
    { The characters, zero-terminated, for reading until the string changes. }
    function Data: PWideChar;
    { The address of the character at position, for writing within the
      length until the string changes. }
    function CharAddr(position: Int32): PWideChar;
    { Whether the text is empty. }
    function IsEmpty: Boolean;
    { -1, 0 or 1 (negative, zero or positive for W): unit by unit. }
    function Compare(const other: TQuarnelStrW): Int32;
    { Case-insensitive comparison: negative, zero or positive. }
    function CompareText(const other: TQuarnelStrW): Int32;
    { The position of the first occurrence of pattern, compared exactly; not
      found (0 under base 1) when absent or empty. }
    function Pos(const pattern: TQuarnelStrW): Int32; overload;
    { The position of the first occurrence of pattern. }
    function Pos(const pattern: UnicodeString): Int32; overload;
    { The same search as Pos, under its other name. }
    function UnicodePos(const pattern: TQuarnelStrW): Int32;
    { count characters from index (a negative count: the rest). }
    function SubString(index, count: Int32): TQuarnelStrW;
    { The first count characters. }
    function Left(count: Int32): TQuarnelStrW;
    { The last count characters. }
    function Right(count: Int32): TQuarnelStrW;
    { Whether the character at index is one of delimiters; false outside the text. }
    function IsDelimiter(const delimiters: TQuarnelStrW; index: Int32): Boolean;
    { Whether the character at index is a backslash. }
    function IsPathDelimiter(index: Int32): Boolean;
    { The position of the last character that is one of delimiters. }
    function LastDelimiter(const delimiters: TQuarnelStrW): Int32;
    { A pointer to the last character, nil when empty. }
    function LastChar: PWideChar;
    { Inserts source so that it starts at index. }
    procedure Insert(const source: TQuarnelStrW; index: Int32);
    { Removes up to count characters from index. }
    procedure Delete(index, count: Int32);
    { A lower-case copy (the user's locale; the length never changes). }
    function LowerCase: TQuarnelStrW;
    { An upper-case copy (the user's locale; the length never changes). }
    function UpperCase: TQuarnelStrW;
    { Changes the text to lower case. }
    procedure SelfLowerCase;
    { Changes the text to upper case. }
    procedure SelfUpperCase;
    { A copy without the characters of code 0 to 32 at both ends, as Trim. }
    function Trim: TQuarnelStrW;
    { A copy without the blanks at the start. }
    function TrimLeft: TQuarnelStrW;
    { A copy without the blanks at the end. }
    function TrimRight: TQuarnelStrW;
    { Removes the blanks at both ends. }
    procedure SelfTrim;
    { Removes the blanks at the start. }
    procedure SelfTrimLeft;
    { Removes the blanks at the end. }
    procedure SelfTrimRight;
    { A copy of width characters, padChar filling the left. }
    function PadLeft(padChar: WideChar; width: Int32): TQuarnelStrW;
    { A copy of width characters, padChar filling the right. }
    function PadRight(padChar: WideChar; width: Int32): TQuarnelStrW;
    { A copy with every occurrence of search replaced, pass after pass, until
      none is left (one pass when replacement contains search). Both count up
      to their first zero character. }
    function Replace(const search, replacement: UnicodeString): TQuarnelStrW;
    { Gives the string other's text, keeping its own index base. }
    procedure Assign(const other: TQuarnelStrW);
    { Appends other's text. }
    procedure Append(const other: TQuarnelStrW); overload;
    { Appends s. }
    procedure Append(const s: UnicodeString); overload;
    { Appends one character (#0 appends nothing). }
    procedure AppendChar(c: WideChar);
    { Appends value's decimal text. }
    procedure AppendInt(value: Int32);
    { Replaces the text with fmt filled with args; returns the new length. }
    function Sprintf(const fmt: UnicodeString; const args: array of const): Int32;
    { Appends fmt filled with args; returns the length appended. }
    function CatSprintf(const fmt: UnicodeString; const args: array of const): Int32;
    { The fields between separators (a separator that ends the text adds no
      empty field), each trimmed of blanks when trimmed is true. }
    function Split(separator: WideChar; trimmed: Boolean = False): TArray;
    { Splits into the strings of slots: the rest of the text is dropped when
      there are more fields, slots beyond the fields are emptied. Returns the
      number of fields stored. }
    function SplitInto(separator: WideChar; var slots: array of TQuarnelStrW; trimmed: Boolean = False): Int32;
    { Fields of widths[i] characters laid end to end (a negative width takes
      the rest). }
    function SplitFixed(const widths: array of Int32; trimmed: Boolean = False): TArray;
    { Fields from (first, last) column pairs, counting from 1. }
    function SplitColumns(const columns: array of Int32; trimmed: Boolean = False): TArray;
    { The text as an integer (decimal, or hexadecimal after "$", "x", "0x");
      raises EQuarnelConvertError otherwise. }
    function ToInt: Int32;
    { The whole text as an integer, or default when it is not one or is
      beyond 32 bits, as StrToIntDef. }
    function ToIntDef(defaultValue: Int32): Int32;
    { The whole text as a number with "." as the decimal point, or default. }
    function ToFloatDef(defaultValue: Double): Double;
    { A string with the text of an A string, decoded from the ANSI code page. }
    class function FromAnsi(const s: TQuarnelStrA): TQuarnelStrW; static;
    { A string with the bytes of s decoded from the ANSI code page. }
    class function FromAnsiText(const s: AnsiString): TQuarnelStrW; static;
    { The text up to its first zero unit as an A string in the ANSI code page
      (unrepresentable characters become its default character). }
    function ToAnsi: TQuarnelStrA;
    { The BSTR, for COM calls; the empty text is not a BSTR. }
    function BSTR: PWideChar;
    { The address of the handle's BSTR field: a BSTR stored there belongs to
      the string from then on. }
    function BSTRRef: PLBSTR;
    { The text's size in bytes, terminator not counted. }
    function ByteSize: Int32;
    { The number of characters (UTF-16 units), zero characters included; setting it
      keeps the first characters and leaves added ones unspecified. }
    property Length: Int32 read GetLength write SetLen;
    { The character at position; a position outside the text raises
      EQuarnelRangeError (the string checks it; the library does not). }
    property Chars[position: Int32]: WideChar read GetChar write SetChar; default;
    { The base positions count from: 1 (the default) or 0. }
    property IndexBase: Int32 read GetBase write SetBase;
    { The text, zero characters included. }
    property Text: UnicodeString read GetText write SetText;

{$IFDEF FPC}
    { A string with s's text. }
    class operator :=(const s: UnicodeString): TQuarnelStrW;
    { The text. }
    class operator explicit(const s: TQuarnelStrW): UnicodeString;
    { The two texts one after the other. }
    class operator +(const a, b: TQuarnelStrW): TQuarnelStrW;
    { Whether the texts are the same, unit by unit. }
    class operator =(const a, b: TQuarnelStrW): Boolean;
    { Ordering by Compare. }
    class operator <(const a, b: TQuarnelStrW): Boolean;
    { Ordering by Compare. }
    class operator <=(const a, b: TQuarnelStrW): Boolean;
    { Ordering by Compare. }
    class operator >(const a, b: TQuarnelStrW): Boolean;
    { Ordering by Compare. }
    class operator >=(const a, b: TQuarnelStrW): Boolean;
{$ELSE}
    { A string with s's text. }
    class operator Implicit(const s: UnicodeString): TQuarnelStrW;
    { The text. }
    class operator Explicit(const s: TQuarnelStrW): UnicodeString;
    { The two texts one after the other. }
    class operator Add(const a, b: TQuarnelStrW): TQuarnelStrW;
    { Whether the texts are the same, unit by unit. }
    class operator Equal(const a, b: TQuarnelStrW): Boolean;
    { Whether the texts differ. }
    class operator NotEqual(const a, b: TQuarnelStrW): Boolean;
    { Ordering by Compare. }
    class operator LessThan(const a, b: TQuarnelStrW): Boolean;
    { Ordering by Compare. }
    class operator LessThanOrEqual(const a, b: TQuarnelStrW): Boolean;
    { Ordering by Compare. }
    class operator GreaterThan(const a, b: TQuarnelStrW): Boolean;
    { Ordering by Compare. }
    class operator GreaterThanOrEqual(const a, b: TQuarnelStrW): Boolean;
{$ENDIF}
  end;
  { The fields of a split of an W string. }
  TQuarnelStrWArray = TQuarnelStrW.TArray;

implementation

{ ---- Failures ---------------------------------------------------------------- }

function QuarnelSetMode(mode: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSetFailureMode';
function QuarnelLastFailure(message: PAnsiChar; capacity: Int32): UInt32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrGetLastFailure';

threadvar
  { Whether this thread has been put in record mode. }
  Recording: Boolean;

procedure StartRecording;
begin
  QuarnelSetMode(1);
  Recording := True;
end;

{ Every wrapper starts here, so every thread records its failures before its
  first call, whoever created the thread. }
procedure Enter; inline;
begin
  if not Recording then
    StartRecording;
end;

procedure RaiseFailure(code: UInt32; const text: string);
begin
  case code of
    QUARNEL_EXCEPTION_RANGE: raise EQuarnelRangeError.CreateCode(code, text);
    QUARNEL_EXCEPTION_CONVERT: raise EQuarnelConvertError.CreateCode(code, text);
    QUARNEL_EXCEPTION_OUT_OF_MEMORY: raise EQuarnelOutOfMemory.CreateCode(code, text);
    QUARNEL_EXCEPTION_INVALID_HANDLE: raise EQuarnelInvalidHandle.CreateCode(code, text);
  else
    raise EQuarnelError.CreateCode(code, text);
  end;
end;

{ Raises the failure of the thread's last call, if it failed. }
procedure Check;
var
  buffer: array[0..1023] of AnsiChar;
  code: UInt32;
begin
  code := QuarnelLastFailure(@buffer[0], System.Length(buffer));
  if code <> 0 then
    RaiseFailure(code, string(AnsiString(PAnsiChar(@buffer[0]))));
end;

constructor EQuarnelError.CreateCode(ACode: UInt32; const AMessage: string);
begin
  inherited Create(AMessage);
  FCode := ACode;
end;

constructor EQuarnelRangeError.CreateCode(ACode: UInt32; const AMessage: string);
begin
  inherited Create(AMessage);
  FCode := ACode;
end;

constructor EQuarnelConvertError.CreateCode(ACode: UInt32; const AMessage: string);
begin
  inherited Create(AMessage);
  FCode := ACode;
end;

constructor EQuarnelOutOfMemory.CreateCode(ACode: UInt32; const AMessage: string);
begin
  inherited Create(AMessage);
  FCode := ACode;
end;

{ The runtime's heap exceptions are freed only when a flag of theirs allows
  it (their one preallocated instance must live on); instances made here are
  ordinary objects and are freed as TObject frees them. }
procedure EQuarnelOutOfMemory.FreeInstance;
begin
  CleanupInstance;
  FreeMem(Pointer(Self));
end;

constructor EQuarnelInvalidHandle.CreateCode(ACode: UInt32; const AMessage: string);
begin
  inherited Create(AMessage);
  FCode := ACode;
end;

procedure EQuarnelInvalidHandle.FreeInstance;
begin
  CleanupInstance;
  FreeMem(Pointer(Self));
end;

function QuarnelFailureCode(E: Exception): UInt32;
begin
  if E is EQuarnelError then
    Result := EQuarnelError(E).Code
  else if E is EQuarnelRangeError then
    Result := EQuarnelRangeError(E).Code
  else if E is EQuarnelConvertError then
    Result := EQuarnelConvertError(E).Code
  else if E is EQuarnelOutOfMemory then
    Result := EQuarnelOutOfMemory(E).Code
  else if E is EQuarnelInvalidHandle then
    Result := EQuarnelInvalidHandle(E).Code
  else
    Result := 0;
end;

function LStrSetFailureMode(mode: Int32): Int32;
begin
  Enter;
  if mode = 1 then
    Result := QuarnelSetMode(1)
  else
    Result := 1;
end;

function LStrGetLastFailure(message: PAnsiChar; capacity: Int32): UInt32;
begin
  Enter;
  Result := QuarnelLastFailure(message, capacity);
end;

procedure QuarnelRecordFailures;
begin
  StartRecording;
end;

procedure QuarnelCheck;
begin
  Check;
end;

{ ---- C variable arguments ------------------------------------------------------
  The formatting exports read their arguments through a va_list. An `array of
  const` is laid out here the way the platform's C compiler lays out the
  variable part of a call, and the va_list built over it is handed to the
  VPrintf exports. }

{$IF DEFINED(CPUI386) OR DEFINED(CPUX86)}
  {$DEFINE QUARNEL_VA_POINTER}
  {$DEFINE QUARNEL_VA_WORDS}
{$ELSEIF (DEFINED(CPUX86_64) OR DEFINED(CPUX64)) AND DEFINED(MSWINDOWS)}
  {$DEFINE QUARNEL_VA_POINTER}
{$ELSEIF DEFINED(CPUX86_64) OR DEFINED(CPUX64)}
  {$DEFINE QUARNEL_VA_SYSV}
{$ELSEIF (DEFINED(CPUAARCH64) OR DEFINED(CPUARM64)) AND NOT (DEFINED(DARWIN) OR DEFINED(MACOS) OR DEFINED(MSWINDOWS))}
  {$DEFINE QUARNEL_VA_AAPCS}
{$ELSEIF DEFINED(CPUAARCH64) OR DEFINED(CPUARM64)}
  {$DEFINE QUARNEL_VA_POINTER}
{$IFEND}

type
{$IFDEF QUARNEL_VA_WORDS}
  TVaSlot = Int32;   { 32-bit stacks: 64-bit values take two slots }
{$ELSE}
  TVaSlot = Int64;   { every argument takes one 8-byte slot }
{$ENDIF}

  { The arguments in C layout, the strings converted for them, and the va_list
    over them; it must outlive the call. }
  TVaArgs = record
    Slots: array of TVaSlot;
    Count: Int32;
    Strings: array of AnsiString;
{$IFDEF QUARNEL_VA_SYSV}
    GpOffset, FpOffset: UInt32;
    Overflow, RegisterSave: Pointer;
{$ENDIF}
{$IFDEF QUARNEL_VA_AAPCS}
    Stack, GrTop, VrTop: Pointer;
    GrOffs, VrOffs: Int32;
{$ENDIF}
    procedure Put(const bytes; size: Int32);
    procedure Build(const args: array of const);
    function List: Pointer;
  end;

procedure TVaArgs.Put(const bytes; size: Int32);
var
  words: Int32;
begin
  words := (size + SizeOf(TVaSlot) - 1) div SizeOf(TVaSlot);
  if Count + words > System.Length(Slots) then
    System.SetLength(Slots, 2 * System.Length(Slots) + words + 8);
  FillChar(Slots[Count], words * SizeOf(TVaSlot), 0);
  Move(bytes, Slots[Count], size);
  Inc(Count, words);
end;

procedure TVaArgs.Build(const args: array of const);
var
  i: Int32;
  n: NativeInt;
  d: Double;
  q: Int64;
  p: Pointer;
begin
  Count := 0;
  for i := 0 to High(args) do
    case args[i].VType of
      vtInteger:
        begin
          n := args[i].VInteger;  { sign-extended, as C widens an int }
          Put(n, SizeOf(NativeInt));
        end;
      vtBoolean:
        begin
          n := Ord(args[i].VBoolean);
          Put(n, SizeOf(NativeInt));
        end;
      vtChar:
        begin
          n := Ord(args[i].VChar);
          Put(n, SizeOf(NativeInt));
        end;
      vtWideChar:
        begin
          n := Ord(args[i].VWideChar);
          Put(n, SizeOf(NativeInt));
        end;
      vtInt64:
        begin
          q := args[i].VInt64^;
          Put(q, 8);
        end;
{$IFDEF FPC}
      vtQWord:
        begin
          q := Int64(args[i].VQWord^);
          Put(q, 8);
        end;
{$ENDIF}
      vtExtended:
        begin
          d := args[i].VExtended^;
          Put(d, 8);
        end;
      vtCurrency:
        begin
          d := args[i].VCurrency^;
          Put(d, 8);
        end;
      vtPChar, vtPointer, vtObject, vtClass, vtInterface, vtPWideChar:
        begin
          p := args[i].VPointer;
          Put(p, SizeOf(Pointer));
        end;
      vtAnsiString:
        begin
          p := PAnsiChar(AnsiString(args[i].VAnsiString));
          Put(p, SizeOf(Pointer));
        end;
      vtString:
        begin
          System.SetLength(Strings, System.Length(Strings) + 1);
          Strings[High(Strings)] := AnsiString(args[i].VString^);
          p := PAnsiChar(Strings[High(Strings)]);
          Put(p, SizeOf(Pointer));
        end;
      vtWideString:
        begin
          p := PWideChar(WideString(args[i].VWideString));
          Put(p, SizeOf(Pointer));
        end;
      vtUnicodeString:
        begin
          p := PWideChar(UnicodeString(args[i].VUnicodeString));
          Put(p, SizeOf(Pointer));
        end;
    else
      raise EArgumentException.CreateFmt('formatting: argument %d has a type C formatting cannot take', [i]);
    end;
  if Count = 0 then
    Put(Count, SizeOf(Count));  { a valid address even without arguments }
end;

function TVaArgs.List: Pointer;
begin
{$IF DEFINED(QUARNEL_VA_POINTER)}
  Result := @Slots[0];
{$ELSEIF DEFINED(QUARNEL_VA_SYSV)}
  GpOffset := 48;         { all six integer registers taken }
  FpOffset := 48 + 128;   { all eight vector registers taken }
  Overflow := @Slots[0];  { so every argument comes from memory }
  RegisterSave := nil;
  Result := @GpOffset;
{$ELSEIF DEFINED(QUARNEL_VA_AAPCS)}
  Stack := @Slots[0];
  GrTop := nil;
  VrTop := nil;
  GrOffs := 0;            { no register area left: every argument from memory }
  VrOffs := 0;
  Result := @Stack;
{$ELSE}
  raise EQuarnelError.CreateCode(QUARNEL_EXCEPTION_INTERNAL, 'formatting: unsupported processor');
{$IFEND}
end;

{ BEGIN GENERATED IMPLEMENTATION (tools/check_bindings.py --write) }
function Q_LStrAllocA: LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocA';
function Q_LStrAllocW: LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocW';
function Q_LStrAllocCloneAA(src: LStrHandleA): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocCloneAA';
function Q_LStrAllocCloneWW(src: LStrHandleW): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocCloneWW';
function Q_LStrAllocCloneWA(src: LStrHandleW): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocCloneWA';
function Q_LStrAllocCloneAW(src: LStrHandleA): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocCloneAW';
function Q_LStrAllocFromASzStrA(Atext: PAnsiChar; length: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocFromASzStrA';
function Q_LStrAllocFromWSzStrA(Atext: PWideChar; length: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocFromWSzStrA';
function Q_LStrAllocFromASzStrW(Atext: PAnsiChar; length: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocFromASzStrW';
function Q_LStrAllocFromWSzStrW(Atext: PWideChar; length: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocFromWSzStrW';
function Q_LStrAllocFromCharA(c: AnsiChar): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocFromCharA';
function Q_LStrAllocFromCharW(c: WideChar): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocFromCharW';
function Q_LStrAllocStringOfCharA(c: AnsiChar; count: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocStringOfCharA';
function Q_LStrAllocStringOfCharW(c: WideChar; count: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocStringOfCharW';
procedure Q_LStrDestroyA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrDestroyA';
procedure Q_LStrDestroyW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrDestroyW';
procedure Q_LStrUniqueA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrUniqueA';
procedure Q_LStrUniqueW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrUniqueW';
function Q_LStrGetCharIndexBaseA(h: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrGetCharIndexBaseA';
function Q_LStrGetCharIndexBaseW(h: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrGetCharIndexBaseW';
function Q_LStrSetCharIndexBaseA(h: LStrHandleA; base: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSetCharIndexBaseA';
function Q_LStrSetCharIndexBaseW(h: LStrHandleW; base: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSetCharIndexBaseW';
function Q_LStrCstrA(h: LStrHandleA): PAnsiChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrCstrA';
function Q_LStrCstrW(h: LStrHandleW): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrCstrW';
function Q_LStrCbstrW(h: LStrHandleW): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrCbstrW';
function Q_LStrBSTRRef(h: LStrHandleW): PLBSTR; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrBSTRRef';
function Q_LStrLengthA(h: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrLengthA';
function Q_LStrLengthW(h: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrLengthW';
function Q_LStrSetLengthA(h: LStrHandleA; length: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSetLengthA';
function Q_LStrSetLengthW(h: LStrHandleW; length: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSetLengthW';
function Q_LStrGetCharAtA(h: LStrHandleA; position: Int32): AnsiChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrGetCharAtA';
function Q_LStrGetCharAtW(h: LStrHandleW; position: Int32): WideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrGetCharAtW';
procedure Q_LStrSetCharAtA(h: LStrHandleA; position: Int32; c: AnsiChar); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSetCharAtA';
procedure Q_LStrSetCharAtW(h: LStrHandleW; position: Int32; c: WideChar); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSetCharAtW';
function Q_LStrCharAddrAtA(h: LStrHandleA; position: Int32): PAnsiChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrCharAddrAtA';
function Q_LStrCharAddrAtW(h: LStrHandleW; position: Int32): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrCharAddrAtW';
function Q_LStrAssignA(dst: LStrHandleA; src: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAssignA';
function Q_LStrAssignW(dst: LStrHandleW; src: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAssignW';
function Q_LStrAssignASzStrA(h: LStrHandleA; Atext: PAnsiChar; length: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAssignASzStrA';
function Q_LStrAssignWSzStrW(h: LStrHandleW; Atext: PWideChar; length: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAssignWSzStrW';
function Q_LStrAppendA(dst: LStrHandleA; src: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAppendA';
function Q_LStrAppendW(dst: LStrHandleW; src: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAppendW';
function Q_LStrAppendASzStrA(h: LStrHandleA; Atext: PAnsiChar; length: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAppendASzStrA';
function Q_LStrAppendWSzStrW(h: LStrHandleW; Atext: PWideChar; length: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAppendWSzStrW';
function Q_LStrAppendCharA(h: LStrHandleA; c: AnsiChar): PAnsiChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAppendCharA';
function Q_LStrAppendCharW(h: LStrHandleW; c: WideChar): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAppendCharW';
function Q_LStrCompareA(a: LStrHandleA; b: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrCompareA';
function Q_LStrCompareICA(a: LStrHandleA; b: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrCompareICA';
function Q_LStrCompareW(a: LStrHandleW; b: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrCompareW';
function Q_LStrCompareICW(a: LStrHandleW; b: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrCompareICW';
function Q_LStrPosA(h: LStrHandleA; pattern: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrPosA';
function Q_LStrPosW(h: LStrHandleW; pattern: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrPosW';
function Q_LStrPosPtrA(h: LStrHandleA; pattern: PAnsiChar): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrPosPtrA';
function Q_LStrPosPtrW(h: LStrHandleW; pattern: PWideChar): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrPosPtrW';
function Q_LStrUnicodePosW(h: LStrHandleW; pattern: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrUnicodePosW';
function Q_LStrAnsiPosA(h: LStrHandleA; pattern: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAnsiPosA';
function Q_LStrSubStringA(h: LStrHandleA; pos: Int32; count: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSubStringA';
function Q_LStrSubStringW(h: LStrHandleW; pos: Int32; count: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSubStringW';
function Q_LStrLeftA(h: LStrHandleA; count: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrLeftA';
function Q_LStrLeftW(h: LStrHandleW; count: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrLeftW';
function Q_LStrRightA(h: LStrHandleA; count: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrRightA';
function Q_LStrRightW(h: LStrHandleW; count: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrRightW';
function Q_LStrIsDelimiterA(h: LStrHandleA; delimiters: LStrHandleA; pos: Int32): Boolean; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrIsDelimiterA';
function Q_LStrIsDelimiterW(h: LStrHandleW; delimiters: LStrHandleW; pos: Int32): Boolean; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrIsDelimiterW';
function Q_LStrIsPathDelimiterA(h: LStrHandleA; pos: Int32): Boolean; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrIsPathDelimiterA';
function Q_LStrIsPathDelimiterW(h: LStrHandleW; pos: Int32): Boolean; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrIsPathDelimiterW';
function Q_LStrLastDelimiterA(h: LStrHandleA; delimiters: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrLastDelimiterA';
function Q_LStrLastDelimiterW(h: LStrHandleW; delimiters: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrLastDelimiterW';
function Q_LStrAnsiLastCharA(h: LStrHandleA): PAnsiChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAnsiLastCharA';
function Q_LStrUnicodeLastCharW(h: LStrHandleW): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrUnicodeLastCharW';
function Q_LStrInsertA(h: LStrHandleA; source: LStrHandleA; pos: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrInsertA';
function Q_LStrInsertW(h: LStrHandleW; source: LStrHandleW; pos: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrInsertW';
function Q_LStrDeleteA(h: LStrHandleA; pos: Int32; count: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrDeleteA';
function Q_LStrDeleteW(h: LStrHandleW; pos: Int32; count: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrDeleteW';
function Q_LStrLowerCaseA(h: LStrHandleA): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrLowerCaseA';
function Q_LStrLowerCaseW(h: LStrHandleW): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrLowerCaseW';
function Q_LStrUpperCaseA(h: LStrHandleA): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrUpperCaseA';
function Q_LStrUpperCaseW(h: LStrHandleW): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrUpperCaseW';
procedure Q_LStrSelfLowerCaseA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSelfLowerCaseA';
procedure Q_LStrSelfLowerCaseW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSelfLowerCaseW';
procedure Q_LStrSelfUpperCaseA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSelfUpperCaseA';
procedure Q_LStrSelfUpperCaseW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSelfUpperCaseW';
function Q_LStrTrimA(h: LStrHandleA): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrTrimA';
function Q_LStrTrimW(h: LStrHandleW): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrTrimW';
function Q_LStrTrimLeftA(h: LStrHandleA): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrTrimLeftA';
function Q_LStrTrimLeftW(h: LStrHandleW): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrTrimLeftW';
function Q_LStrTrimRightA(h: LStrHandleA): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrTrimRightA';
function Q_LStrTrimRightW(h: LStrHandleW): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrTrimRightW';
procedure Q_LStrSelfTrimA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSelfTrimA';
procedure Q_LStrSelfTrimW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSelfTrimW';
procedure Q_LStrSelfTrimLeftA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSelfTrimLeftA';
procedure Q_LStrSelfTrimLeftW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSelfTrimLeftW';
procedure Q_LStrSelfTrimRightA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSelfTrimRightA';
procedure Q_LStrSelfTrimRightW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrSelfTrimRightW';
function Q_LStrPadLeftA(h: LStrHandleA; padChar: AnsiChar; width: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrPadLeftA';
function Q_LStrPadLeftW(h: LStrHandleW; padChar: WideChar; width: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrPadLeftW';
function Q_LStrPadRightA(h: LStrHandleA; padChar: AnsiChar; width: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrPadRightA';
function Q_LStrPadRightW(h: LStrHandleW; padChar: WideChar; width: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrPadRightW';
function Q_LStrReplaceA(h: LStrHandleA; search: PAnsiChar; replacement: PAnsiChar): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrReplaceA';
function Q_LStrReplaceW(h: LStrHandleW; search: PWideChar; replacement: PWideChar): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrReplaceW';
function Q_SplitBySepA(source: PCLAnsiStr; separator: AnsiChar; slotCount: Int32; slots: PCLAnsiStr; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'SplitBySepA';
function Q_SplitBySepW(source: PCLWideStr; separator: WideChar; slotCount: Int32; slots: PCLWideStr; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'SplitBySepW';
function Q_SplitBySepExA(source: PCLAnsiStr; separator: AnsiChar; list: PCLAnsiStrList; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'SplitBySepExA';
function Q_SplitBySepExW(source: PCLWideStr; separator: WideChar; list: PCLWideStrList; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'SplitBySepExW';
function Q_SplitByFixedLayoutA(source: PCLAnsiStr; fieldCount: Int32; widths: PQuarnelInt; list: PCLAnsiStrList; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'SplitByFixedLayoutA';
function Q_SplitByFixedLayoutW(source: PCLWideStr; fieldCount: Int32; widths: PQuarnelInt; list: PCLWideStrList; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'SplitByFixedLayoutW';
function Q_SplitByFixedLayoutExA(source: PCLAnsiStr; fieldCount: Int32; columns: PQuarnelInt; list: PCLAnsiStrList; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'SplitByFixedLayoutExA';
function Q_SplitByFixedLayoutExW(source: PCLWideStr; fieldCount: Int32; columns: PQuarnelInt; list: PCLWideStrList; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'SplitByFixedLayoutExW';
function Q_SplitNamedEquA(Atext: PAnsiChar; list: PCLAnsiStrList; trim: Boolean; separator: AnsiChar): Boolean; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'SplitNamedEquA';
function Q_SplitNamedEquW(Atext: PWideChar; list: PCLWideStrList; trim: Boolean; separator: WideChar): Boolean; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'SplitNamedEquW';
function Q_LStrHeapAlloc(bytes: Int32): Pointer; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrHeapAlloc';
procedure Q_LStrHeapFree(block: Pointer); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrHeapFree';
procedure Q_LStrListEndA(list: PCLAnsiStrList); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrListEndA';
procedure Q_LStrListEndW(list: PCLWideStrList); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrListEndW';
function Q_LStrWideCharBufSizeA(h: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrWideCharBufSizeA';
function Q_LStrWideCharA(h: LStrHandleA; buffer: PWideChar; capacity: Int32): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrWideCharA';
function Q_LStrWideCharBufSizeW(h: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrWideCharBufSizeW';
function Q_LStrAllocLoadStrA(module: Pointer; id: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocLoadStrA';
function Q_LStrAllocLoadStrW(module: Pointer; id: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocLoadStrW';
function Q_LStrAllocFromInt64A(value: Int64): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocFromInt64A';
function Q_LStrAllocFromInt64W(value: Int64): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocFromInt64W';
function Q_LStrAllocFromUInt64A(value: UInt64): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocFromUInt64A';
function Q_LStrAllocFromUInt64W(value: UInt64): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocFromUInt64W';
function Q_LStrAllocFromDoubleA(value: Double): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocFromDoubleA';
function Q_LStrAllocFromDoubleW(value: Double): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAllocFromDoubleW';
function Q_LStrIntToHexA(value: Int32; digits: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrIntToHexA';
function Q_LStrIntToHexW(value: Int32; digits: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrIntToHexW';
function Q_LStrToIntA(h: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrToIntA';
function Q_LStrToIntW(h: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrToIntW';
function Q_LStrToIntDefA(h: LStrHandleA; defaultValue: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrToIntDefA';
function Q_LStrToIntDefW(h: LStrHandleW; defaultValue: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrToIntDefW';
function Q_LStrToDoubleDefA(h: LStrHandleA; defaultValue: Double): Double; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrToDoubleDefA';
function Q_LStrToDoubleDefW(h: LStrHandleW; defaultValue: Double): Double; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrToDoubleDefW';
function Q_LStrAppendIntValueA(h: LStrHandleA; value: Int32): PAnsiChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAppendIntValueA';
function Q_LStrAppendIntValueW(h: LStrHandleW; value: Int32): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrAppendIntValueW';
function Q_LStrFloatToStrFA(value: Double; format: Int32; precision: Int32; digits: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrFloatToStrFA';
function Q_LStrFloatToStrFW(value: Double; format: Int32; precision: Int32; digits: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrFloatToStrFW';
function Q_LStrFormatFloatA(format: LStrHandleA; value: PDouble): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrFormatFloatA';
function Q_LStrFormatFloatW(format: LStrHandleW; value: PDouble): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrFormatFloatW';
function Q__LStrVPrintfA(dest: LStrHandleA; format: PAnsiChar; args: Pointer): Int32; cdecl; external QuarnelLib name '_LStrVPrintfA';
function Q__LStrVPrintfW(dest: LStrHandleW; format: PWideChar; args: Pointer): Int32; cdecl; external QuarnelLib name '_LStrVPrintfW';
function Q__LStrCatVPrintfA(dest: LStrHandleA; format: PAnsiChar; args: Pointer): Int32; cdecl; external QuarnelLib name '_LStrCatVPrintfA';
function Q__LStrCatVPrintfW(dest: LStrHandleW; format: PWideChar; args: Pointer): Int32; cdecl; external QuarnelLib name '_LStrCatVPrintfW';

function LStrAllocA: LStrHandleA;
begin
  Enter;
  Result := Q_LStrAllocA;
  if Result = nil then
    Check;
end;

function LStrAllocW: LStrHandleW;
begin
  Enter;
  Result := Q_LStrAllocW;
  if Result = nil then
    Check;
end;

function LStrAllocCloneAA(src: LStrHandleA): LStrHandleA;
begin
  Enter;
  Result := Q_LStrAllocCloneAA(src);
  if Result = nil then
    Check;
end;

function LStrAllocCloneWW(src: LStrHandleW): LStrHandleW;
begin
  Enter;
  Result := Q_LStrAllocCloneWW(src);
  if Result = nil then
    Check;
end;

function LStrAllocCloneWA(src: LStrHandleW): LStrHandleA;
begin
  Enter;
  Result := Q_LStrAllocCloneWA(src);
  if Result = nil then
    Check;
end;

function LStrAllocCloneAW(src: LStrHandleA): LStrHandleW;
begin
  Enter;
  Result := Q_LStrAllocCloneAW(src);
  if Result = nil then
    Check;
end;

function LStrAllocFromASzStrA(Atext: PAnsiChar; length: Int32): LStrHandleA;
begin
  Enter;
  Result := Q_LStrAllocFromASzStrA(Atext, length);
  if Result = nil then
    Check;
end;

function LStrAllocFromWSzStrA(Atext: PWideChar; length: Int32): LStrHandleA;
begin
  Enter;
  Result := Q_LStrAllocFromWSzStrA(Atext, length);
  if Result = nil then
    Check;
end;

function LStrAllocFromASzStrW(Atext: PAnsiChar; length: Int32): LStrHandleW;
begin
  Enter;
  Result := Q_LStrAllocFromASzStrW(Atext, length);
  if Result = nil then
    Check;
end;

function LStrAllocFromWSzStrW(Atext: PWideChar; length: Int32): LStrHandleW;
begin
  Enter;
  Result := Q_LStrAllocFromWSzStrW(Atext, length);
  if Result = nil then
    Check;
end;

function LStrAllocFromCharA(c: AnsiChar): LStrHandleA;
begin
  Enter;
  Result := Q_LStrAllocFromCharA(c);
  if Result = nil then
    Check;
end;

function LStrAllocFromCharW(c: WideChar): LStrHandleW;
begin
  Enter;
  Result := Q_LStrAllocFromCharW(c);
  if Result = nil then
    Check;
end;

function LStrAllocStringOfCharA(c: AnsiChar; count: Int32): LStrHandleA;
begin
  Enter;
  Result := Q_LStrAllocStringOfCharA(c, count);
  if Result = nil then
    Check;
end;

function LStrAllocStringOfCharW(c: WideChar; count: Int32): LStrHandleW;
begin
  Enter;
  Result := Q_LStrAllocStringOfCharW(c, count);
  if Result = nil then
    Check;
end;

procedure LStrDestroyA(h: LStrHandleA);
begin
  Enter;
  Q_LStrDestroyA(h);
  Check;
end;

procedure LStrDestroyW(h: LStrHandleW);
begin
  Enter;
  Q_LStrDestroyW(h);
  Check;
end;

procedure LStrUniqueA(h: LStrHandleA);
begin
  Enter;
  Q_LStrUniqueA(h);
  Check;
end;

procedure LStrUniqueW(h: LStrHandleW);
begin
  Enter;
  Q_LStrUniqueW(h);
  Check;
end;

function LStrGetCharIndexBaseA(h: LStrHandleA): Int32;
begin
  Enter;
  Result := Q_LStrGetCharIndexBaseA(h);
  if Result = 0 then
    Check;
end;

function LStrGetCharIndexBaseW(h: LStrHandleW): Int32;
begin
  Enter;
  Result := Q_LStrGetCharIndexBaseW(h);
  if Result = 0 then
    Check;
end;

function LStrSetCharIndexBaseA(h: LStrHandleA; base: Int32): Int32;
begin
  Enter;
  Result := Q_LStrSetCharIndexBaseA(h, base);
  if Result = 0 then
    Check;
end;

function LStrSetCharIndexBaseW(h: LStrHandleW; base: Int32): Int32;
begin
  Enter;
  Result := Q_LStrSetCharIndexBaseW(h, base);
  if Result = 0 then
    Check;
end;

function LStrCstrA(h: LStrHandleA): PAnsiChar;
begin
  Enter;
  Result := Q_LStrCstrA(h);
  if Result = nil then
    Check;
end;

function LStrCstrW(h: LStrHandleW): PWideChar;
begin
  Enter;
  Result := Q_LStrCstrW(h);
  if Result = nil then
    Check;
end;

function LStrCbstrW(h: LStrHandleW): PWideChar;
begin
  Enter;
  Result := Q_LStrCbstrW(h);
  if Result = nil then
    Check;
end;

function LStrBSTRRef(h: LStrHandleW): PLBSTR;
begin
  Enter;
  Result := Q_LStrBSTRRef(h);
  if Result = nil then
    Check;
end;

function LStrLengthA(h: LStrHandleA): Int32;
begin
  Enter;
  Result := Q_LStrLengthA(h);
  if Result = 0 then
    Check;
end;

function LStrLengthW(h: LStrHandleW): Int32;
begin
  Enter;
  Result := Q_LStrLengthW(h);
  if Result = 0 then
    Check;
end;

function LStrSetLengthA(h: LStrHandleA; length: Int32): Int32;
begin
  Enter;
  Result := Q_LStrSetLengthA(h, length);
  if Result = 0 then
    Check;
end;

function LStrSetLengthW(h: LStrHandleW; length: Int32): Int32;
begin
  Enter;
  Result := Q_LStrSetLengthW(h, length);
  if Result = 0 then
    Check;
end;

function LStrGetCharAtA(h: LStrHandleA; position: Int32): AnsiChar;
begin
  Enter;
  Result := Q_LStrGetCharAtA(h, position);
  if Result = #0 then
    Check;
end;

function LStrGetCharAtW(h: LStrHandleW; position: Int32): WideChar;
begin
  Enter;
  Result := Q_LStrGetCharAtW(h, position);
  if Result = #0 then
    Check;
end;

procedure LStrSetCharAtA(h: LStrHandleA; position: Int32; c: AnsiChar);
begin
  Enter;
  Q_LStrSetCharAtA(h, position, c);
  Check;
end;

procedure LStrSetCharAtW(h: LStrHandleW; position: Int32; c: WideChar);
begin
  Enter;
  Q_LStrSetCharAtW(h, position, c);
  Check;
end;

function LStrCharAddrAtA(h: LStrHandleA; position: Int32): PAnsiChar;
begin
  Enter;
  Result := Q_LStrCharAddrAtA(h, position);
  if Result = nil then
    Check;
end;

function LStrCharAddrAtW(h: LStrHandleW; position: Int32): PWideChar;
begin
  Enter;
  Result := Q_LStrCharAddrAtW(h, position);
  if Result = nil then
    Check;
end;

function LStrAssignA(dst: LStrHandleA; src: LStrHandleA): Int32;
begin
  Enter;
  Result := Q_LStrAssignA(dst, src);
  if Result = 0 then
    Check;
end;

function LStrAssignW(dst: LStrHandleW; src: LStrHandleW): Int32;
begin
  Enter;
  Result := Q_LStrAssignW(dst, src);
  if Result = 0 then
    Check;
end;

function LStrAssignASzStrA(h: LStrHandleA; Atext: PAnsiChar; length: Int32): Int32;
begin
  Enter;
  Result := Q_LStrAssignASzStrA(h, Atext, length);
  if Result = 0 then
    Check;
end;

function LStrAssignWSzStrW(h: LStrHandleW; Atext: PWideChar; length: Int32): Int32;
begin
  Enter;
  Result := Q_LStrAssignWSzStrW(h, Atext, length);
  if Result = 0 then
    Check;
end;

function LStrAppendA(dst: LStrHandleA; src: LStrHandleA): Int32;
begin
  Enter;
  Result := Q_LStrAppendA(dst, src);
  if Result = 0 then
    Check;
end;

function LStrAppendW(dst: LStrHandleW; src: LStrHandleW): Int32;
begin
  Enter;
  Result := Q_LStrAppendW(dst, src);
  if Result = 0 then
    Check;
end;

function LStrAppendASzStrA(h: LStrHandleA; Atext: PAnsiChar; length: Int32): Int32;
begin
  Enter;
  Result := Q_LStrAppendASzStrA(h, Atext, length);
  if Result = 0 then
    Check;
end;

function LStrAppendWSzStrW(h: LStrHandleW; Atext: PWideChar; length: Int32): Int32;
begin
  Enter;
  Result := Q_LStrAppendWSzStrW(h, Atext, length);
  if Result = 0 then
    Check;
end;

function LStrAppendCharA(h: LStrHandleA; c: AnsiChar): PAnsiChar;
begin
  Enter;
  Result := Q_LStrAppendCharA(h, c);
  if Result = nil then
    Check;
end;

function LStrAppendCharW(h: LStrHandleW; c: WideChar): PWideChar;
begin
  Enter;
  Result := Q_LStrAppendCharW(h, c);
  if Result = nil then
    Check;
end;

function LStrCompareA(a: LStrHandleA; b: LStrHandleA): Int32;
begin
  Enter;
  Result := Q_LStrCompareA(a, b);
  if Result = 0 then
    Check;
end;

function LStrCompareICA(a: LStrHandleA; b: LStrHandleA): Int32;
begin
  Enter;
  Result := Q_LStrCompareICA(a, b);
  if Result = 0 then
    Check;
end;

function LStrCompareW(a: LStrHandleW; b: LStrHandleW): Int32;
begin
  Enter;
  Result := Q_LStrCompareW(a, b);
  if Result = 0 then
    Check;
end;

function LStrCompareICW(a: LStrHandleW; b: LStrHandleW): Int32;
begin
  Enter;
  Result := Q_LStrCompareICW(a, b);
  if Result = 0 then
    Check;
end;

function LStrPosA(h: LStrHandleA; pattern: LStrHandleA): Int32;
begin
  Enter;
  Result := Q_LStrPosA(h, pattern);
  if Result = 0 then
    Check;
end;

function LStrPosW(h: LStrHandleW; pattern: LStrHandleW): Int32;
begin
  Enter;
  Result := Q_LStrPosW(h, pattern);
  if Result = 0 then
    Check;
end;

function LStrPosPtrA(h: LStrHandleA; pattern: PAnsiChar): Int32;
begin
  Enter;
  Result := Q_LStrPosPtrA(h, pattern);
  if Result = 0 then
    Check;
end;

function LStrPosPtrW(h: LStrHandleW; pattern: PWideChar): Int32;
begin
  Enter;
  Result := Q_LStrPosPtrW(h, pattern);
  if Result = 0 then
    Check;
end;

function LStrUnicodePosW(h: LStrHandleW; pattern: LStrHandleW): Int32;
begin
  Enter;
  Result := Q_LStrUnicodePosW(h, pattern);
  if Result = 0 then
    Check;
end;

function LStrAnsiPosA(h: LStrHandleA; pattern: LStrHandleA): Int32;
begin
  Enter;
  Result := Q_LStrAnsiPosA(h, pattern);
  if Result = 0 then
    Check;
end;

function LStrSubStringA(h: LStrHandleA; pos: Int32; count: Int32): LStrHandleA;
begin
  Enter;
  Result := Q_LStrSubStringA(h, pos, count);
  if Result = nil then
    Check;
end;

function LStrSubStringW(h: LStrHandleW; pos: Int32; count: Int32): LStrHandleW;
begin
  Enter;
  Result := Q_LStrSubStringW(h, pos, count);
  if Result = nil then
    Check;
end;

function LStrLeftA(h: LStrHandleA; count: Int32): LStrHandleA;
begin
  Enter;
  Result := Q_LStrLeftA(h, count);
  if Result = nil then
    Check;
end;

function LStrLeftW(h: LStrHandleW; count: Int32): LStrHandleW;
begin
  Enter;
  Result := Q_LStrLeftW(h, count);
  if Result = nil then
    Check;
end;

function LStrRightA(h: LStrHandleA; count: Int32): LStrHandleA;
begin
  Enter;
  Result := Q_LStrRightA(h, count);
  if Result = nil then
    Check;
end;

function LStrRightW(h: LStrHandleW; count: Int32): LStrHandleW;
begin
  Enter;
  Result := Q_LStrRightW(h, count);
  if Result = nil then
    Check;
end;

function LStrIsDelimiterA(h: LStrHandleA; delimiters: LStrHandleA; pos: Int32): Boolean;
begin
  Enter;
  Result := Q_LStrIsDelimiterA(h, delimiters, pos);
  if not Result then
    Check;
end;

function LStrIsDelimiterW(h: LStrHandleW; delimiters: LStrHandleW; pos: Int32): Boolean;
begin
  Enter;
  Result := Q_LStrIsDelimiterW(h, delimiters, pos);
  if not Result then
    Check;
end;

function LStrIsPathDelimiterA(h: LStrHandleA; pos: Int32): Boolean;
begin
  Enter;
  Result := Q_LStrIsPathDelimiterA(h, pos);
  if not Result then
    Check;
end;

function LStrIsPathDelimiterW(h: LStrHandleW; pos: Int32): Boolean;
begin
  Enter;
  Result := Q_LStrIsPathDelimiterW(h, pos);
  if not Result then
    Check;
end;

function LStrLastDelimiterA(h: LStrHandleA; delimiters: LStrHandleA): Int32;
begin
  Enter;
  Result := Q_LStrLastDelimiterA(h, delimiters);
  if Result = 0 then
    Check;
end;

function LStrLastDelimiterW(h: LStrHandleW; delimiters: LStrHandleW): Int32;
begin
  Enter;
  Result := Q_LStrLastDelimiterW(h, delimiters);
  if Result = 0 then
    Check;
end;

function LStrAnsiLastCharA(h: LStrHandleA): PAnsiChar;
begin
  Enter;
  Result := Q_LStrAnsiLastCharA(h);
  if Result = nil then
    Check;
end;

function LStrUnicodeLastCharW(h: LStrHandleW): PWideChar;
begin
  Enter;
  Result := Q_LStrUnicodeLastCharW(h);
  if Result = nil then
    Check;
end;

function LStrInsertA(h: LStrHandleA; source: LStrHandleA; pos: Int32): Int32;
begin
  Enter;
  Result := Q_LStrInsertA(h, source, pos);
  if Result = 0 then
    Check;
end;

function LStrInsertW(h: LStrHandleW; source: LStrHandleW; pos: Int32): Int32;
begin
  Enter;
  Result := Q_LStrInsertW(h, source, pos);
  if Result = 0 then
    Check;
end;

function LStrDeleteA(h: LStrHandleA; pos: Int32; count: Int32): Int32;
begin
  Enter;
  Result := Q_LStrDeleteA(h, pos, count);
  if Result = 0 then
    Check;
end;

function LStrDeleteW(h: LStrHandleW; pos: Int32; count: Int32): Int32;
begin
  Enter;
  Result := Q_LStrDeleteW(h, pos, count);
  if Result = 0 then
    Check;
end;

function LStrLowerCaseA(h: LStrHandleA): LStrHandleA;
begin
  Enter;
  Result := Q_LStrLowerCaseA(h);
  if Result = nil then
    Check;
end;

function LStrLowerCaseW(h: LStrHandleW): LStrHandleW;
begin
  Enter;
  Result := Q_LStrLowerCaseW(h);
  if Result = nil then
    Check;
end;

function LStrUpperCaseA(h: LStrHandleA): LStrHandleA;
begin
  Enter;
  Result := Q_LStrUpperCaseA(h);
  if Result = nil then
    Check;
end;

function LStrUpperCaseW(h: LStrHandleW): LStrHandleW;
begin
  Enter;
  Result := Q_LStrUpperCaseW(h);
  if Result = nil then
    Check;
end;

procedure LStrSelfLowerCaseA(h: LStrHandleA);
begin
  Enter;
  Q_LStrSelfLowerCaseA(h);
  Check;
end;

procedure LStrSelfLowerCaseW(h: LStrHandleW);
begin
  Enter;
  Q_LStrSelfLowerCaseW(h);
  Check;
end;

procedure LStrSelfUpperCaseA(h: LStrHandleA);
begin
  Enter;
  Q_LStrSelfUpperCaseA(h);
  Check;
end;

procedure LStrSelfUpperCaseW(h: LStrHandleW);
begin
  Enter;
  Q_LStrSelfUpperCaseW(h);
  Check;
end;

function LStrTrimA(h: LStrHandleA): LStrHandleA;
begin
  Enter;
  Result := Q_LStrTrimA(h);
  if Result = nil then
    Check;
end;

function LStrTrimW(h: LStrHandleW): LStrHandleW;
begin
  Enter;
  Result := Q_LStrTrimW(h);
  if Result = nil then
    Check;
end;

function LStrTrimLeftA(h: LStrHandleA): LStrHandleA;
begin
  Enter;
  Result := Q_LStrTrimLeftA(h);
  if Result = nil then
    Check;
end;

function LStrTrimLeftW(h: LStrHandleW): LStrHandleW;
begin
  Enter;
  Result := Q_LStrTrimLeftW(h);
  if Result = nil then
    Check;
end;

function LStrTrimRightA(h: LStrHandleA): LStrHandleA;
begin
  Enter;
  Result := Q_LStrTrimRightA(h);
  if Result = nil then
    Check;
end;

function LStrTrimRightW(h: LStrHandleW): LStrHandleW;
begin
  Enter;
  Result := Q_LStrTrimRightW(h);
  if Result = nil then
    Check;
end;

procedure LStrSelfTrimA(h: LStrHandleA);
begin
  Enter;
  Q_LStrSelfTrimA(h);
  Check;
end;

procedure LStrSelfTrimW(h: LStrHandleW);
begin
  Enter;
  Q_LStrSelfTrimW(h);
  Check;
end;

procedure LStrSelfTrimLeftA(h: LStrHandleA);
begin
  Enter;
  Q_LStrSelfTrimLeftA(h);
  Check;
end;

procedure LStrSelfTrimLeftW(h: LStrHandleW);
begin
  Enter;
  Q_LStrSelfTrimLeftW(h);
  Check;
end;

procedure LStrSelfTrimRightA(h: LStrHandleA);
begin
  Enter;
  Q_LStrSelfTrimRightA(h);
  Check;
end;

procedure LStrSelfTrimRightW(h: LStrHandleW);
begin
  Enter;
  Q_LStrSelfTrimRightW(h);
  Check;
end;

function LStrPadLeftA(h: LStrHandleA; padChar: AnsiChar; width: Int32): LStrHandleA;
begin
  Enter;
  Result := Q_LStrPadLeftA(h, padChar, width);
  if Result = nil then
    Check;
end;

function LStrPadLeftW(h: LStrHandleW; padChar: WideChar; width: Int32): LStrHandleW;
begin
  Enter;
  Result := Q_LStrPadLeftW(h, padChar, width);
  if Result = nil then
    Check;
end;

function LStrPadRightA(h: LStrHandleA; padChar: AnsiChar; width: Int32): LStrHandleA;
begin
  Enter;
  Result := Q_LStrPadRightA(h, padChar, width);
  if Result = nil then
    Check;
end;

function LStrPadRightW(h: LStrHandleW; padChar: WideChar; width: Int32): LStrHandleW;
begin
  Enter;
  Result := Q_LStrPadRightW(h, padChar, width);
  if Result = nil then
    Check;
end;

function LStrReplaceA(h: LStrHandleA; search: PAnsiChar; replacement: PAnsiChar): LStrHandleA;
begin
  Enter;
  Result := Q_LStrReplaceA(h, search, replacement);
  if Result = nil then
    Check;
end;

function LStrReplaceW(h: LStrHandleW; search: PWideChar; replacement: PWideChar): LStrHandleW;
begin
  Enter;
  Result := Q_LStrReplaceW(h, search, replacement);
  if Result = nil then
    Check;
end;

function SplitBySepA(source: PCLAnsiStr; separator: AnsiChar; slotCount: Int32; slots: PCLAnsiStr; trim: Boolean): Int32;
begin
  Enter;
  Result := Q_SplitBySepA(source, separator, slotCount, slots, trim);
  if Result = 0 then
    Check;
end;

function SplitBySepW(source: PCLWideStr; separator: WideChar; slotCount: Int32; slots: PCLWideStr; trim: Boolean): Int32;
begin
  Enter;
  Result := Q_SplitBySepW(source, separator, slotCount, slots, trim);
  if Result = 0 then
    Check;
end;

function SplitBySepExA(source: PCLAnsiStr; separator: AnsiChar; list: PCLAnsiStrList; trim: Boolean): Int32;
begin
  Enter;
  Result := Q_SplitBySepExA(source, separator, list, trim);
  if Result = 0 then
    Check;
end;

function SplitBySepExW(source: PCLWideStr; separator: WideChar; list: PCLWideStrList; trim: Boolean): Int32;
begin
  Enter;
  Result := Q_SplitBySepExW(source, separator, list, trim);
  if Result = 0 then
    Check;
end;

function SplitByFixedLayoutA(source: PCLAnsiStr; fieldCount: Int32; widths: PQuarnelInt; list: PCLAnsiStrList; trim: Boolean): Int32;
begin
  Enter;
  Result := Q_SplitByFixedLayoutA(source, fieldCount, widths, list, trim);
  if Result = 0 then
    Check;
end;

function SplitByFixedLayoutW(source: PCLWideStr; fieldCount: Int32; widths: PQuarnelInt; list: PCLWideStrList; trim: Boolean): Int32;
begin
  Enter;
  Result := Q_SplitByFixedLayoutW(source, fieldCount, widths, list, trim);
  if Result = 0 then
    Check;
end;

function SplitByFixedLayoutExA(source: PCLAnsiStr; fieldCount: Int32; columns: PQuarnelInt; list: PCLAnsiStrList; trim: Boolean): Int32;
begin
  Enter;
  Result := Q_SplitByFixedLayoutExA(source, fieldCount, columns, list, trim);
  if Result = 0 then
    Check;
end;

function SplitByFixedLayoutExW(source: PCLWideStr; fieldCount: Int32; columns: PQuarnelInt; list: PCLWideStrList; trim: Boolean): Int32;
begin
  Enter;
  Result := Q_SplitByFixedLayoutExW(source, fieldCount, columns, list, trim);
  if Result = 0 then
    Check;
end;

function SplitNamedEquA(Atext: PAnsiChar; list: PCLAnsiStrList; trim: Boolean; separator: AnsiChar): Boolean;
begin
  Enter;
  Result := Q_SplitNamedEquA(Atext, list, trim, separator);
  if not Result then
    Check;
end;

function SplitNamedEquW(Atext: PWideChar; list: PCLWideStrList; trim: Boolean; separator: WideChar): Boolean;
begin
  Enter;
  Result := Q_SplitNamedEquW(Atext, list, trim, separator);
  if not Result then
    Check;
end;

function LStrHeapAlloc(bytes: Int32): Pointer;
begin
  Enter;
  Result := Q_LStrHeapAlloc(bytes);
  if Result = nil then
    Check;
end;

procedure LStrHeapFree(block: Pointer);
begin
  Enter;
  Q_LStrHeapFree(block);
  Check;
end;

procedure LStrListEndA(list: PCLAnsiStrList);
begin
  Enter;
  Q_LStrListEndA(list);
  Check;
end;

procedure LStrListEndW(list: PCLWideStrList);
begin
  Enter;
  Q_LStrListEndW(list);
  Check;
end;

function LStrWideCharBufSizeA(h: LStrHandleA): Int32;
begin
  Enter;
  Result := Q_LStrWideCharBufSizeA(h);
  if Result = 0 then
    Check;
end;

function LStrWideCharA(h: LStrHandleA; buffer: PWideChar; capacity: Int32): PWideChar;
begin
  Enter;
  Result := Q_LStrWideCharA(h, buffer, capacity);
  if Result = nil then
    Check;
end;

function LStrWideCharBufSizeW(h: LStrHandleW): Int32;
begin
  Enter;
  Result := Q_LStrWideCharBufSizeW(h);
  if Result = 0 then
    Check;
end;

function LStrAllocLoadStrA(module: Pointer; id: Int32): LStrHandleA;
begin
  Enter;
  Result := Q_LStrAllocLoadStrA(module, id);
  if Result = nil then
    Check;
end;

function LStrAllocLoadStrW(module: Pointer; id: Int32): LStrHandleW;
begin
  Enter;
  Result := Q_LStrAllocLoadStrW(module, id);
  if Result = nil then
    Check;
end;

function LStrAllocFromInt64A(value: Int64): LStrHandleA;
begin
  Enter;
  Result := Q_LStrAllocFromInt64A(value);
  if Result = nil then
    Check;
end;

function LStrAllocFromInt64W(value: Int64): LStrHandleW;
begin
  Enter;
  Result := Q_LStrAllocFromInt64W(value);
  if Result = nil then
    Check;
end;

function LStrAllocFromUInt64A(value: UInt64): LStrHandleA;
begin
  Enter;
  Result := Q_LStrAllocFromUInt64A(value);
  if Result = nil then
    Check;
end;

function LStrAllocFromUInt64W(value: UInt64): LStrHandleW;
begin
  Enter;
  Result := Q_LStrAllocFromUInt64W(value);
  if Result = nil then
    Check;
end;

function LStrAllocFromDoubleA(value: Double): LStrHandleA;
begin
  Enter;
  Result := Q_LStrAllocFromDoubleA(value);
  if Result = nil then
    Check;
end;

function LStrAllocFromDoubleW(value: Double): LStrHandleW;
begin
  Enter;
  Result := Q_LStrAllocFromDoubleW(value);
  if Result = nil then
    Check;
end;

function LStrIntToHexA(value: Int32; digits: Int32): LStrHandleA;
begin
  Enter;
  Result := Q_LStrIntToHexA(value, digits);
  if Result = nil then
    Check;
end;

function LStrIntToHexW(value: Int32; digits: Int32): LStrHandleW;
begin
  Enter;
  Result := Q_LStrIntToHexW(value, digits);
  if Result = nil then
    Check;
end;

function LStrToIntA(h: LStrHandleA): Int32;
begin
  Enter;
  Result := Q_LStrToIntA(h);
  if Result = 0 then
    Check;
end;

function LStrToIntW(h: LStrHandleW): Int32;
begin
  Enter;
  Result := Q_LStrToIntW(h);
  if Result = 0 then
    Check;
end;

function LStrToIntDefA(h: LStrHandleA; defaultValue: Int32): Int32;
begin
  Enter;
  Result := Q_LStrToIntDefA(h, defaultValue);
  if Result = 0 then
    Check;
end;

function LStrToIntDefW(h: LStrHandleW; defaultValue: Int32): Int32;
begin
  Enter;
  Result := Q_LStrToIntDefW(h, defaultValue);
  if Result = 0 then
    Check;
end;

function LStrToDoubleDefA(h: LStrHandleA; defaultValue: Double): Double;
begin
  Enter;
  Result := Q_LStrToDoubleDefA(h, defaultValue);
  if Result = 0 then
    Check;
end;

function LStrToDoubleDefW(h: LStrHandleW; defaultValue: Double): Double;
begin
  Enter;
  Result := Q_LStrToDoubleDefW(h, defaultValue);
  if Result = 0 then
    Check;
end;

function LStrAppendIntValueA(h: LStrHandleA; value: Int32): PAnsiChar;
begin
  Enter;
  Result := Q_LStrAppendIntValueA(h, value);
  if Result = nil then
    Check;
end;

function LStrAppendIntValueW(h: LStrHandleW; value: Int32): PWideChar;
begin
  Enter;
  Result := Q_LStrAppendIntValueW(h, value);
  if Result = nil then
    Check;
end;

function LStrFloatToStrFA(value: Double; format: Int32; precision: Int32; digits: Int32): LStrHandleA;
begin
  Enter;
  Result := Q_LStrFloatToStrFA(value, format, precision, digits);
  if Result = nil then
    Check;
end;

function LStrFloatToStrFW(value: Double; format: Int32; precision: Int32; digits: Int32): LStrHandleW;
begin
  Enter;
  Result := Q_LStrFloatToStrFW(value, format, precision, digits);
  if Result = nil then
    Check;
end;

function LStrFormatFloatA(format: LStrHandleA; value: PDouble): LStrHandleA;
begin
  Enter;
  Result := Q_LStrFormatFloatA(format, value);
  if Result = nil then
    Check;
end;

function LStrFormatFloatW(format: LStrHandleW; value: PDouble): LStrHandleW;
begin
  Enter;
  Result := Q_LStrFormatFloatW(format, value);
  if Result = nil then
    Check;
end;

function _LStrVPrintfA(dest: LStrHandleA; format: PAnsiChar; args: Pointer): Int32;
begin
  Enter;
  Result := Q__LStrVPrintfA(dest, format, args);
  if Result = 0 then
    Check;
end;

function _LStrVPrintfW(dest: LStrHandleW; format: PWideChar; args: Pointer): Int32;
begin
  Enter;
  Result := Q__LStrVPrintfW(dest, format, args);
  if Result = 0 then
    Check;
end;

function _LStrCatVPrintfA(dest: LStrHandleA; format: PAnsiChar; args: Pointer): Int32;
begin
  Enter;
  Result := Q__LStrCatVPrintfA(dest, format, args);
  if Result = 0 then
    Check;
end;

function _LStrCatVPrintfW(dest: LStrHandleW; format: PWideChar; args: Pointer): Int32;
begin
  Enter;
  Result := Q__LStrCatVPrintfW(dest, format, args);
  if Result = 0 then
    Check;
end;
{ END GENERATED IMPLEMENTATION }

{ ---- The variadic exports, through their va_list twins ---------------------------- }

function _LStrSprintfA(dest: LStrHandleA; format: PAnsiChar; const args: array of const): Int32;
var
  va: TVaArgs;
begin
  Enter;
  va.Build(args);
  Result := Q__LStrVPrintfA(dest, format, va.List);
  if Result = 0 then
    Check;
end;

function _LStrSprintfW(dest: LStrHandleW; format: PWideChar; const args: array of const): Int32;
var
  va: TVaArgs;
begin
  Enter;
  va.Build(args);
  Result := Q__LStrVPrintfW(dest, format, va.List);
  if Result = 0 then
    Check;
end;

function _LStrPrintfA(dest: LStrHandleA; format: PAnsiChar; const args: array of const): Int32;
begin
  Result := _LStrSprintfA(dest, format, args);
end;

function _LStrPrintfW(dest: LStrHandleW; format: PWideChar; const args: array of const): Int32;
begin
  Result := _LStrSprintfW(dest, format, args);
end;

function _LStrCatSprintfA(dest: LStrHandleA; format: PAnsiChar; const args: array of const): Int32;
var
  va: TVaArgs;
begin
  Enter;
  va.Build(args);
  Result := Q__LStrCatVPrintfA(dest, format, va.List);
  if Result = 0 then
    Check;
end;

function _LStrCatSprintfW(dest: LStrHandleW; format: PWideChar; const args: array of const): Int32;
var
  va: TVaArgs;
begin
  Enter;
  va.Build(args);
  Result := Q__LStrCatVPrintfW(dest, format, va.List);
  if Result = 0 then
    Check;
end;

function _LStrCatPrintfA(dest: LStrHandleA; format: PAnsiChar; const args: array of const): Int32;
begin
  Result := _LStrCatSprintfA(dest, format, args);
end;

function _LStrCatPrintfW(dest: LStrHandleW; format: PWideChar; const args: array of const): Int32;
begin
  Result := _LStrCatSprintfW(dest, format, args);
end;

{ A new handle formatted from the format handle's text up to its first zero
  character: the operation of the variadic _LStrFormatA, which has no va_list
  twin. }
function _LStrFormatA(format: LStrHandleA; const args: array of const): LStrHandleA;
begin
  Result := LStrAllocA;
  try
    _LStrSprintfA(Result, LStrCstrA(format), args);
  except
    Q_LStrDestroyA(Result);
    raise;
  end;
end;

function _LStrFormatW(format: LStrHandleW; const args: array of const): LStrHandleW;
begin
  Result := LStrAllocW;
  try
    _LStrSprintfW(Result, LStrCstrW(format), args);
  except
    Q_LStrDestroyW(Result);
    raise;
  end;
end;

{ ---- Helpers of the raw layer ------------------------------------------------------ }

function QuarnelTextA(h: LStrHandleA): AnsiString;
begin
  SetString(Result, LStrCstrA(h), LStrLengthA(h));
end;

function QuarnelTextW(h: LStrHandleW): UnicodeString;
begin
  SetString(Result, LStrCstrW(h), LStrLengthW(h));
end;

function QuarnelFieldA(const list: CLAnsiStrList; i: Int32): LStrHandleA;
var
  slot: PPCLAnsiStr;
begin
  if (i < 0) or (i >= list.count) then
    raise EQuarnelRangeError.CreateCode(QUARNEL_EXCEPTION_RANGE,
      SysUtils.Format('field %d of a list of %d', [i, list.count]));
  slot := list.items;
  Inc(slot, i);
  Result := slot^^.handle;
end;

function QuarnelFieldW(const list: CLWideStrList; i: Int32): LStrHandleW;
var
  slot: PPCLWideStr;
begin
  if (i < 0) or (i >= list.count) then
    raise EQuarnelRangeError.CreateCode(QUARNEL_EXCEPTION_RANGE,
      SysUtils.Format('field %d of a list of %d', [i, list.count]));
  slot := list.items;
  Inc(slot, i);
  Result := slot^^.handle;
end;

function QuarnelHeapAlloc(bytes: Int32): Pointer;
begin
  Result := LStrHeapAlloc(bytes);
  if Result = nil then
    raise EQuarnelOutOfMemory.CreateCode(QUARNEL_EXCEPTION_OUT_OF_MEMORY,
      SysUtils.Format('LStrHeapAlloc: %d bytes', [bytes]));
end;

{ The W single-character functions do not check positions; the strings do. }
procedure CheckPositionW(h: LStrHandleW; position: Int32);
var
  index: Int64;
begin
  index := Int64(position) + 1 - LStrGetCharIndexBaseW(h);
  if (index < 1) or (index > LStrLengthW(h)) then
    raise EQuarnelRangeError.CreateCode(QUARNEL_EXCEPTION_RANGE,
      SysUtils.Format('position %d is outside the text', [position]));
end;

procedure CheckPositionA(h: LStrHandleA; position: Int32);
begin
  { The library checks A positions itself. }
end;

{ Empty handles that strings never assigned read through; nothing writes them. }
var
  EmptyA: LStrHandleA;
  EmptyW: LStrHandleW;

type
  TQuarnelOwnerA = class(TInterfacedObject, IQuarnelOwner)
  private
    FHandle: LStrHandleA;
  public
    constructor Create(h: LStrHandleA);
    destructor Destroy; override;
    function Shared: Boolean;
  end;

  TQuarnelOwnerW = class(TInterfacedObject, IQuarnelOwner)
  private
    FHandle: LStrHandleW;
  public
    constructor Create(h: LStrHandleW);
    destructor Destroy; override;
    function Shared: Boolean;
  end;

constructor TQuarnelOwnerA.Create(h: LStrHandleA);
begin
  inherited Create;
  FHandle := h;
end;

destructor TQuarnelOwnerA.Destroy;
begin
  Enter;
  Q_LStrDestroyA(FHandle);
  inherited Destroy;
end;

function TQuarnelOwnerA.Shared: Boolean;
begin
  Result := RefCount > 1;
end;

constructor TQuarnelOwnerW.Create(h: LStrHandleW);
begin
  inherited Create;
  FHandle := h;
end;

destructor TQuarnelOwnerW.Destroy;
begin
  Enter;
  Q_LStrDestroyW(FHandle);
  inherited Destroy;
end;

function TQuarnelOwnerW.Shared: Boolean;
begin
  Result := RefCount > 1;
end;

{ ---- TQuarnelStrA ---------------------------------------------------------------- }

function TQuarnelStrA.R: LStrHandleA;
begin
  if FOwner = nil then
    Result := EmptyA
  else
    Result := FHandle;
end;

{ The handle for a change: a new one for a string never assigned, a copy when
  other strings share it, so that they keep their text. }
function TQuarnelStrA.W: LStrHandleA;
var
  h: LStrHandleA;
begin
  if FOwner = nil then
    Self := Adopt(LStrAllocA)
  else if FOwner.Shared then
  begin
    h := LStrAllocCloneAA(FHandle);
    Q_LStrSetCharIndexBaseA(h, Q_LStrGetCharIndexBaseA(FHandle));
    Self := Adopt(h);
  end;
  Result := FHandle;
end;

class function TQuarnelStrA.Adopt(h: LStrHandleA): TQuarnelStrA;
var
  owner: IQuarnelOwner;
begin
  owner := nil;
  if h <> nil then
    try
      owner := TQuarnelOwnerA.Create(h);
    except
      Q_LStrDestroyA(h);
      raise;
    end;
  Result.FOwner := owner;
  Result.FHandle := h;
end;

class function TQuarnelStrA.Fields(var list: CLAnsiStrList): TArray;
var
  i: Int32;
  slot: PPCLAnsiStr;
  h: LStrHandleA;
begin
  Result := nil;
  System.SetLength(Result, list.count);
  slot := list.items;
  for i := 0 to list.count - 1 do
  begin
    { The string takes the handle over; the list must no longer end it. }
    h := slot^^.handle;
    slot^^.handle := nil;
    Result[i] := Adopt(h);
    Inc(slot);
  end;
end;

class function TQuarnelStrA.Create(const s: AnsiString): TQuarnelStrA;
begin
  Result := Adopt(LStrAllocFromASzStrA(PAnsiChar(s), System.Length(s)));
end;

class function TQuarnelStrA.FromBuffer(p: PAnsiChar; count: Int32): TQuarnelStrA;
begin
  Result := Adopt(LStrAllocFromASzStrA(p, count));
end;

class function TQuarnelStrA.OfChar(c: AnsiChar): TQuarnelStrA;
begin
  Result := Adopt(LStrAllocFromCharA(c));
end;

class function TQuarnelStrA.OfChar(c: AnsiChar; count: Int32): TQuarnelStrA;
begin
  Result := Adopt(LStrAllocStringOfCharA(c, count));
end;

class function TQuarnelStrA.FromInt(value: Int64): TQuarnelStrA;
begin
  Result := Adopt(LStrAllocFromInt64A(value));
end;

class function TQuarnelStrA.FromUInt(value: UInt64): TQuarnelStrA;
begin
  Result := Adopt(LStrAllocFromUInt64A(value));
end;

class function TQuarnelStrA.FromFloat(value: Double): TQuarnelStrA;
begin
  Result := Adopt(LStrAllocFromDoubleA(value));
end;

class function TQuarnelStrA.IntToHex(value: Int32; digits: Int32): TQuarnelStrA;
begin
  Result := Adopt(LStrIntToHexA(value, digits));
end;

class function TQuarnelStrA.FloatToStrF(value: Double; layout: TFloatFormat; precision, digits: Int32): TQuarnelStrA;
begin
  Result := Adopt(LStrFloatToStrFA(value, Ord(layout), precision, digits));
end;

class function TQuarnelStrA.FormatFloat(const picture: TQuarnelStrA; value: Double): TQuarnelStrA;
begin
  Result := Adopt(LStrFormatFloatA(picture.R, @value));
end;

class function TQuarnelStrA.Format(const fmt: TQuarnelStrA; const args: array of const): TQuarnelStrA;
begin
  Result := Adopt(_LStrFormatA(fmt.R, args));
end;

class function TQuarnelStrA.LoadStr(module: Pointer; id: Int32): TQuarnelStrA;
begin
  Result := Adopt(LStrAllocLoadStrA(module, id));
end;

class function TQuarnelStrA.SplitNameValue(const line: AnsiString; separator: AnsiChar; out name, value: TQuarnelStrA; trimmed: Boolean): Boolean;
var
  list: CLAnsiStrList;
  parts: TArray;
begin
  list.growBy := 2;
  list.capacity := 0;
  list.count := 0;
  list.items := nil;
  try
    Result := SplitNamedEquA(PAnsiChar(line), @list, trimmed, separator);
    parts := Fields(list);
  finally
    LStrListEndA(@list);
  end;
  if Result then
  begin
    name := parts[0];
    value := parts[1];
  end
  else
  begin
    name := Default(TQuarnelStrA);
    value := Default(TQuarnelStrA);
  end;
end;

function TQuarnelStrA.Handle: LStrHandleA;
begin
  Result := W;
end;

function TQuarnelStrA.Clone: TQuarnelStrA;
var
  h: LStrHandleA;
begin
  h := LStrAllocCloneAA(R);
  Q_LStrSetCharIndexBaseA(h, Q_LStrGetCharIndexBaseA(R));
  Result := Adopt(h);
end;

procedure TQuarnelStrA.Unique;
begin
  LStrUniqueA(W);
end;

function TQuarnelStrA.Data: PAnsiChar;
begin
  Result := LStrCstrA(R);
end;

function TQuarnelStrA.CharAddr(position: Int32): PAnsiChar;
var
  h: LStrHandleA;
begin
  h := W;
  CheckPositionA(h, position);
  Result := LStrCharAddrAtA(h, position);
end;

function TQuarnelStrA.IsEmpty: Boolean;
begin
  Result := LStrLengthA(R) = 0;
end;

function TQuarnelStrA.Compare(const other: TQuarnelStrA): Int32;
begin
  Result := LStrCompareA(R, other.R);
end;

function TQuarnelStrA.CompareText(const other: TQuarnelStrA): Int32;
begin
  Result := LStrCompareICA(R, other.R);
end;

function TQuarnelStrA.Pos(const pattern: TQuarnelStrA): Int32;
begin
  Result := LStrPosA(R, pattern.R);
end;

function TQuarnelStrA.Pos(const pattern: AnsiString): Int32;
begin
  { The pointer form reads up to a zero character; a pattern holding one
    goes through a handle. }
  if System.Pos(AnsiChar(#0), pattern) > 0 then
    Result := LStrPosA(R, TQuarnelStrA.Create(pattern).R)
  else
    Result := LStrPosPtrA(R, PAnsiChar(pattern));
end;

function TQuarnelStrA.AnsiPos(const pattern: TQuarnelStrA): Int32;
begin
  Result := LStrAnsiPosA(R, pattern.R);
end;

function TQuarnelStrA.SubString(index, count: Int32): TQuarnelStrA;
begin
  Result := Adopt(LStrSubStringA(R, index, count));
end;

function TQuarnelStrA.Left(count: Int32): TQuarnelStrA;
begin
  Result := Adopt(LStrLeftA(R, count));
end;

function TQuarnelStrA.Right(count: Int32): TQuarnelStrA;
begin
  Result := Adopt(LStrRightA(R, count));
end;

function TQuarnelStrA.IsDelimiter(const delimiters: TQuarnelStrA; index: Int32): Boolean;
begin
  Result := LStrIsDelimiterA(R, delimiters.R, index);
end;

function TQuarnelStrA.IsPathDelimiter(index: Int32): Boolean;
begin
  Result := LStrIsPathDelimiterA(R, index);
end;

function TQuarnelStrA.LastDelimiter(const delimiters: TQuarnelStrA): Int32;
begin
  Result := LStrLastDelimiterA(R, delimiters.R);
end;

function TQuarnelStrA.LastChar: PAnsiChar;
begin
  Result := LStrAnsiLastCharA(R);
end;

procedure TQuarnelStrA.Insert(const source: TQuarnelStrA; index: Int32);
var
  h: LStrHandleA;
begin
  h := W;
  LStrInsertA(h, source.R, index);
end;

procedure TQuarnelStrA.Delete(index, count: Int32);
begin
  LStrDeleteA(W, index, count);
end;

function TQuarnelStrA.LowerCase: TQuarnelStrA;
begin
  Result := Adopt(LStrLowerCaseA(R));
end;

function TQuarnelStrA.UpperCase: TQuarnelStrA;
begin
  Result := Adopt(LStrUpperCaseA(R));
end;

procedure TQuarnelStrA.SelfLowerCase;
begin
  LStrSelfLowerCaseA(W);
end;

procedure TQuarnelStrA.SelfUpperCase;
begin
  LStrSelfUpperCaseA(W);
end;

function TQuarnelStrA.Trim: TQuarnelStrA;
begin
  Result := Adopt(LStrTrimA(R));
end;

function TQuarnelStrA.TrimLeft: TQuarnelStrA;
begin
  Result := Adopt(LStrTrimLeftA(R));
end;

function TQuarnelStrA.TrimRight: TQuarnelStrA;
begin
  Result := Adopt(LStrTrimRightA(R));
end;

procedure TQuarnelStrA.SelfTrim;
begin
  LStrSelfTrimA(W);
end;

procedure TQuarnelStrA.SelfTrimLeft;
begin
  LStrSelfTrimLeftA(W);
end;

procedure TQuarnelStrA.SelfTrimRight;
begin
  LStrSelfTrimRightA(W);
end;

function TQuarnelStrA.PadLeft(padChar: AnsiChar; width: Int32): TQuarnelStrA;
begin
  Result := Adopt(LStrPadLeftA(R, padChar, width));
end;

function TQuarnelStrA.PadRight(padChar: AnsiChar; width: Int32): TQuarnelStrA;
begin
  Result := Adopt(LStrPadRightA(R, padChar, width));
end;

function TQuarnelStrA.Replace(const search, replacement: AnsiString): TQuarnelStrA;
begin
  Result := Adopt(LStrReplaceA(R, PAnsiChar(search), PAnsiChar(replacement)));
end;

procedure TQuarnelStrA.Assign(const other: TQuarnelStrA);
var
  h: LStrHandleA;
begin
  h := W;
  LStrAssignA(h, other.R);
end;

procedure TQuarnelStrA.Append(const other: TQuarnelStrA);
var
  h: LStrHandleA;
begin
  h := W;
  LStrAppendA(h, other.R);
end;

procedure TQuarnelStrA.Append(const s: AnsiString);
begin
  LStrAppendASzStrA(W, PAnsiChar(s), System.Length(s));
end;

procedure TQuarnelStrA.AppendChar(c: AnsiChar);
begin
  LStrAppendCharA(W, c);
end;

procedure TQuarnelStrA.AppendInt(value: Int32);
begin
  LStrAppendIntValueA(W, value);
end;

function TQuarnelStrA.Sprintf(const fmt: AnsiString; const args: array of const): Int32;
begin
  Result := _LStrSprintfA(W, PAnsiChar(fmt), args);
end;

function TQuarnelStrA.CatSprintf(const fmt: AnsiString; const args: array of const): Int32;
begin
  Result := _LStrCatSprintfA(W, PAnsiChar(fmt), args);
end;

function TQuarnelStrA.Split(separator: AnsiChar; trimmed: Boolean): TArray;
var
  list: CLAnsiStrList;
  source: CLAnsiStr;
begin
  list.growBy := 16;
  list.capacity := 0;
  list.count := 0;
  list.items := nil;
  source.handle := R;
  source.owned := False;
  try
    SplitBySepExA(@source, separator, @list, trimmed);
    Result := Fields(list);
  finally
    LStrListEndA(@list);
  end;
end;

function TQuarnelStrA.SplitInto(separator: AnsiChar; var slots: array of TQuarnelStrA; trimmed: Boolean): Int32;
var
  wrappers: array of CLAnsiStr;
  source: CLAnsiStr;
  copyOfText: TQuarnelStrA;
  i: Int32;
begin
  Result := 0;
  if System.Length(slots) = 0 then
    Exit;
  { A copy of the text, so that a slot that is this very string is free to
    change while the text is read. }
  copyOfText := Clone;
  System.SetLength(wrappers, System.Length(slots));
  for i := 0 to High(slots) do
  begin
    wrappers[i].handle := slots[i].W;
    wrappers[i].owned := False;
  end;
  source.handle := copyOfText.R;
  source.owned := False;
  Result := SplitBySepA(@source, separator, System.Length(wrappers), @wrappers[0], trimmed);
end;

function TQuarnelStrA.SplitFixed(const widths: array of Int32; trimmed: Boolean): TArray;
var
  list: CLAnsiStrList;
  source: CLAnsiStr;
  layout: PQuarnelInt;
begin
  list.growBy := 16;
  list.capacity := 0;
  list.count := 0;
  list.items := nil;
  source.handle := R;
  source.owned := False;
  layout := nil;
  if System.Length(widths) > 0 then
    layout := @widths[0];
  try
    SplitByFixedLayoutA(@source, System.Length(widths), layout, @list, trimmed);
    Result := Fields(list);
  finally
    LStrListEndA(@list);
  end;
end;

function TQuarnelStrA.SplitColumns(const columns: array of Int32; trimmed: Boolean): TArray;
var
  list: CLAnsiStrList;
  source: CLAnsiStr;
  layout: PQuarnelInt;
begin
  if Odd(System.Length(columns)) then
    raise EArgumentException.Create('SplitColumns: columns holds (first, last) pairs');
  list.growBy := 16;
  list.capacity := 0;
  list.count := 0;
  list.items := nil;
  source.handle := R;
  source.owned := False;
  layout := nil;
  if System.Length(columns) > 0 then
    layout := @columns[0];
  try
    SplitByFixedLayoutExA(@source, System.Length(columns) div 2, layout, @list, trimmed);
    Result := Fields(list);
  finally
    LStrListEndA(@list);
  end;
end;

function TQuarnelStrA.ToInt: Int32;
begin
  Result := LStrToIntA(R);
end;

function TQuarnelStrA.ToIntDef(defaultValue: Int32): Int32;
var
  h: LStrHandleA;
  p: PAnsiChar;
  value: Double;
begin
  h := R;
  Result := LStrToIntDefA(h, defaultValue);
  if Result = defaultValue then
    Exit;
  { The library wraps decimal numbers beyond 32 bits; StrToIntDef refuses
    them. "0x" text is a 32-bit pattern by design and is left alone. }
  p := LStrCstrA(h);
  if (LStrLengthA(h) > 2) and (p[0] = '0') and ((p[1] = 'x') or (p[1] = 'X')) then
    Exit;
  value := LStrToDoubleDefA(h, 0);
  if (value > High(Int32)) or (value < Low(Int32)) then
    Result := defaultValue;
end;

function TQuarnelStrA.ToFloatDef(defaultValue: Double): Double;
begin
  Result := LStrToDoubleDefA(R, defaultValue);
end;

class function TQuarnelStrA.FromWide(const s: UnicodeString): TQuarnelStrA;
begin
  Result := Adopt(LStrAllocFromWSzStrA(PWideChar(s), System.Length(s)));
end;

function TQuarnelStrA.ToUnicode: UnicodeString;
var
  h: LStrHandleA;
  size: Int32;
begin
  h := R;
  size := LStrWideCharBufSizeA(h);
  System.SetLength(Result, size);
  LStrWideCharA(h, PWideChar(Result), size);
  System.SetLength(Result, size - 1);
end;

function TQuarnelStrA.GetLength: Int32;
begin
  Result := LStrLengthA(R);
end;

procedure TQuarnelStrA.SetLen(value: Int32);
begin
  LStrSetLengthA(W, value);
end;

function TQuarnelStrA.GetChar(position: Int32): AnsiChar;
var
  h: LStrHandleA;
begin
  h := R;
  CheckPositionA(h, position);
  Result := LStrGetCharAtA(h, position);
end;

procedure TQuarnelStrA.SetChar(position: Int32; c: AnsiChar);
var
  h: LStrHandleA;
begin
  h := W;
  CheckPositionA(h, position);
  LStrSetCharAtA(h, position, c);
end;

function TQuarnelStrA.GetBase: Int32;
begin
  Result := LStrGetCharIndexBaseA(R);
end;

procedure TQuarnelStrA.SetBase(value: Int32);
begin
  if (value <> 0) and (value <> 1) then
    raise ERangeError.CreateFmt('IndexBase is 0 or 1, not %d', [value]);
  LStrSetCharIndexBaseA(W, value);
end;

function TQuarnelStrA.GetText: AnsiString;
var
  h: LStrHandleA;
begin
  h := R;
  SetString(Result, LStrCstrA(h), LStrLengthA(h));
end;

procedure TQuarnelStrA.SetText(const value: AnsiString);
begin
  LStrAssignASzStrA(W, PAnsiChar(value), System.Length(value));
end;

function ConcatA(const a, b: TQuarnelStrA): TQuarnelStrA;
var
  r: TQuarnelStrA;
begin
  r := a.Clone;
  r.Append(b);
  Result := r;
end;

function EqualA(const a, b: TQuarnelStrA): Boolean;
begin
  Result := LStrCompareA(a.R, b.R) = 0;
end;

class operator TQuarnelStrA.{$IFDEF FPC}:={$ELSE}Implicit{$ENDIF}(const s: AnsiString): TQuarnelStrA;
begin
  Result := Create(s);
end;

class operator TQuarnelStrA.{$IFDEF FPC}explicit{$ELSE}Explicit{$ENDIF}(const s: TQuarnelStrA): AnsiString;
begin
  Result := s.Text;
end;

class operator TQuarnelStrA.{$IFDEF FPC}+{$ELSE}Add{$ENDIF}(const a, b: TQuarnelStrA): TQuarnelStrA;
begin
  Result := ConcatA(a, b);
end;

class operator TQuarnelStrA.{$IFDEF FPC}={$ELSE}Equal{$ENDIF}(const a, b: TQuarnelStrA): Boolean;
begin
  Result := EqualA(a, b);
end;

{$IFNDEF FPC}
class operator TQuarnelStrA.NotEqual(const a, b: TQuarnelStrA): Boolean;
begin
  Result := not EqualA(a, b);
end;
{$ENDIF}

class operator TQuarnelStrA.{$IFDEF FPC}<{$ELSE}LessThan{$ENDIF}(const a, b: TQuarnelStrA): Boolean;
begin
  Result := a.Compare(b) < 0;
end;

class operator TQuarnelStrA.{$IFDEF FPC}<={$ELSE}LessThanOrEqual{$ENDIF}(const a, b: TQuarnelStrA): Boolean;
begin
  Result := a.Compare(b) <= 0;
end;

class operator TQuarnelStrA.{$IFDEF FPC}>{$ELSE}GreaterThan{$ENDIF}(const a, b: TQuarnelStrA): Boolean;
begin
  Result := a.Compare(b) > 0;
end;

class operator TQuarnelStrA.{$IFDEF FPC}>={$ELSE}GreaterThanOrEqual{$ENDIF}(const a, b: TQuarnelStrA): Boolean;
begin
  Result := a.Compare(b) >= 0;
end;

{ ---- TQuarnelStrW ---------------------------------------------------------------- }

function TQuarnelStrW.R: LStrHandleW;
begin
  if FOwner = nil then
    Result := EmptyW
  else
    Result := FHandle;
end;

{ The handle for a change: a new one for a string never assigned, a copy when
  other strings share it, so that they keep their text. }
function TQuarnelStrW.W: LStrHandleW;
var
  h: LStrHandleW;
begin
  if FOwner = nil then
    Self := Adopt(LStrAllocW)
  else if FOwner.Shared then
  begin
    h := LStrAllocCloneWW(FHandle);
    Q_LStrSetCharIndexBaseW(h, Q_LStrGetCharIndexBaseW(FHandle));
    Self := Adopt(h);
  end;
  Result := FHandle;
end;

class function TQuarnelStrW.Adopt(h: LStrHandleW): TQuarnelStrW;
var
  owner: IQuarnelOwner;
begin
  owner := nil;
  if h <> nil then
    try
      owner := TQuarnelOwnerW.Create(h);
    except
      Q_LStrDestroyW(h);
      raise;
    end;
  Result.FOwner := owner;
  Result.FHandle := h;
end;

class function TQuarnelStrW.Fields(var list: CLWideStrList): TArray;
var
  i: Int32;
  slot: PPCLWideStr;
  h: LStrHandleW;
begin
  Result := nil;
  System.SetLength(Result, list.count);
  slot := list.items;
  for i := 0 to list.count - 1 do
  begin
    { The string takes the handle over; the list must no longer end it. }
    h := slot^^.handle;
    slot^^.handle := nil;
    Result[i] := Adopt(h);
    Inc(slot);
  end;
end;

class function TQuarnelStrW.Create(const s: UnicodeString): TQuarnelStrW;
begin
  Result := Adopt(LStrAllocFromWSzStrW(PWideChar(s), System.Length(s)));
end;

class function TQuarnelStrW.FromBuffer(p: PWideChar; count: Int32): TQuarnelStrW;
begin
  Result := Adopt(LStrAllocFromWSzStrW(p, count));
end;

class function TQuarnelStrW.OfChar(c: WideChar): TQuarnelStrW;
begin
  Result := Adopt(LStrAllocFromCharW(c));
end;

class function TQuarnelStrW.OfChar(c: WideChar; count: Int32): TQuarnelStrW;
begin
  Result := Adopt(LStrAllocStringOfCharW(c, count));
end;

class function TQuarnelStrW.FromInt(value: Int64): TQuarnelStrW;
begin
  Result := Adopt(LStrAllocFromInt64W(value));
end;

class function TQuarnelStrW.FromUInt(value: UInt64): TQuarnelStrW;
begin
  Result := Adopt(LStrAllocFromUInt64W(value));
end;

class function TQuarnelStrW.FromFloat(value: Double): TQuarnelStrW;
begin
  Result := Adopt(LStrAllocFromDoubleW(value));
end;

class function TQuarnelStrW.IntToHex(value: Int32; digits: Int32): TQuarnelStrW;
begin
  Result := Adopt(LStrIntToHexW(value, digits));
end;

class function TQuarnelStrW.FloatToStrF(value: Double; layout: TFloatFormat; precision, digits: Int32): TQuarnelStrW;
begin
  Result := Adopt(LStrFloatToStrFW(value, Ord(layout), precision, digits));
end;

class function TQuarnelStrW.FormatFloat(const picture: TQuarnelStrW; value: Double): TQuarnelStrW;
begin
  Result := Adopt(LStrFormatFloatW(picture.R, @value));
end;

class function TQuarnelStrW.Format(const fmt: TQuarnelStrW; const args: array of const): TQuarnelStrW;
begin
  Result := Adopt(_LStrFormatW(fmt.R, args));
end;

class function TQuarnelStrW.LoadStr(module: Pointer; id: Int32): TQuarnelStrW;
begin
  Result := Adopt(LStrAllocLoadStrW(module, id));
end;

class function TQuarnelStrW.SplitNameValue(const line: UnicodeString; separator: WideChar; out name, value: TQuarnelStrW; trimmed: Boolean): Boolean;
var
  list: CLWideStrList;
  parts: TArray;
begin
  list.growBy := 2;
  list.capacity := 0;
  list.count := 0;
  list.items := nil;
  try
    Result := SplitNamedEquW(PWideChar(line), @list, trimmed, separator);
    parts := Fields(list);
  finally
    LStrListEndW(@list);
  end;
  if Result then
  begin
    name := parts[0];
    value := parts[1];
  end
  else
  begin
    name := Default(TQuarnelStrW);
    value := Default(TQuarnelStrW);
  end;
end;

function TQuarnelStrW.Handle: LStrHandleW;
begin
  Result := W;
end;

function TQuarnelStrW.Clone: TQuarnelStrW;
var
  h: LStrHandleW;
begin
  h := LStrAllocCloneWW(R);
  Q_LStrSetCharIndexBaseW(h, Q_LStrGetCharIndexBaseW(R));
  Result := Adopt(h);
end;

procedure TQuarnelStrW.Unique;
begin
  LStrUniqueW(W);
end;

function TQuarnelStrW.Data: PWideChar;
begin
  Result := LStrCstrW(R);
end;

function TQuarnelStrW.CharAddr(position: Int32): PWideChar;
var
  h: LStrHandleW;
begin
  h := W;
  CheckPositionW(h, position);
  Result := LStrCharAddrAtW(h, position);
end;

function TQuarnelStrW.IsEmpty: Boolean;
begin
  Result := LStrLengthW(R) = 0;
end;

function TQuarnelStrW.Compare(const other: TQuarnelStrW): Int32;
begin
  Result := LStrCompareW(R, other.R);
end;

function TQuarnelStrW.CompareText(const other: TQuarnelStrW): Int32;
begin
  Result := LStrCompareICW(R, other.R);
end;

function TQuarnelStrW.Pos(const pattern: TQuarnelStrW): Int32;
begin
  Result := LStrPosW(R, pattern.R);
end;

function TQuarnelStrW.Pos(const pattern: UnicodeString): Int32;
begin
  { The pointer form reads up to a zero character; a pattern holding one
    goes through a handle. }
  if System.Pos(WideChar(#0), pattern) > 0 then
    Result := LStrPosW(R, TQuarnelStrW.Create(pattern).R)
  else
    Result := LStrPosPtrW(R, PWideChar(pattern));
end;

function TQuarnelStrW.UnicodePos(const pattern: TQuarnelStrW): Int32;
begin
  Result := LStrUnicodePosW(R, pattern.R);
end;

function TQuarnelStrW.SubString(index, count: Int32): TQuarnelStrW;
begin
  Result := Adopt(LStrSubStringW(R, index, count));
end;

function TQuarnelStrW.Left(count: Int32): TQuarnelStrW;
begin
  Result := Adopt(LStrLeftW(R, count));
end;

function TQuarnelStrW.Right(count: Int32): TQuarnelStrW;
begin
  Result := Adopt(LStrRightW(R, count));
end;

function TQuarnelStrW.IsDelimiter(const delimiters: TQuarnelStrW; index: Int32): Boolean;
begin
  Result := LStrIsDelimiterW(R, delimiters.R, index);
end;

function TQuarnelStrW.IsPathDelimiter(index: Int32): Boolean;
begin
  Result := LStrIsPathDelimiterW(R, index);
end;

function TQuarnelStrW.LastDelimiter(const delimiters: TQuarnelStrW): Int32;
begin
  Result := LStrLastDelimiterW(R, delimiters.R);
end;

function TQuarnelStrW.LastChar: PWideChar;
begin
  Result := LStrUnicodeLastCharW(R);
end;

procedure TQuarnelStrW.Insert(const source: TQuarnelStrW; index: Int32);
var
  h: LStrHandleW;
begin
  h := W;
  LStrInsertW(h, source.R, index);
end;

procedure TQuarnelStrW.Delete(index, count: Int32);
begin
  LStrDeleteW(W, index, count);
end;

function TQuarnelStrW.LowerCase: TQuarnelStrW;
begin
  Result := Adopt(LStrLowerCaseW(R));
end;

function TQuarnelStrW.UpperCase: TQuarnelStrW;
begin
  Result := Adopt(LStrUpperCaseW(R));
end;

procedure TQuarnelStrW.SelfLowerCase;
begin
  LStrSelfLowerCaseW(W);
end;

procedure TQuarnelStrW.SelfUpperCase;
begin
  LStrSelfUpperCaseW(W);
end;

function TQuarnelStrW.Trim: TQuarnelStrW;
begin
  Result := Adopt(LStrTrimW(R));
end;

function TQuarnelStrW.TrimLeft: TQuarnelStrW;
begin
  Result := Adopt(LStrTrimLeftW(R));
end;

function TQuarnelStrW.TrimRight: TQuarnelStrW;
begin
  Result := Adopt(LStrTrimRightW(R));
end;

procedure TQuarnelStrW.SelfTrim;
begin
  LStrSelfTrimW(W);
end;

procedure TQuarnelStrW.SelfTrimLeft;
begin
  LStrSelfTrimLeftW(W);
end;

procedure TQuarnelStrW.SelfTrimRight;
begin
  LStrSelfTrimRightW(W);
end;

function TQuarnelStrW.PadLeft(padChar: WideChar; width: Int32): TQuarnelStrW;
begin
  Result := Adopt(LStrPadLeftW(R, padChar, width));
end;

function TQuarnelStrW.PadRight(padChar: WideChar; width: Int32): TQuarnelStrW;
begin
  Result := Adopt(LStrPadRightW(R, padChar, width));
end;

function TQuarnelStrW.Replace(const search, replacement: UnicodeString): TQuarnelStrW;
begin
  Result := Adopt(LStrReplaceW(R, PWideChar(search), PWideChar(replacement)));
end;

procedure TQuarnelStrW.Assign(const other: TQuarnelStrW);
var
  h: LStrHandleW;
begin
  h := W;
  LStrAssignW(h, other.R);
end;

procedure TQuarnelStrW.Append(const other: TQuarnelStrW);
var
  h: LStrHandleW;
begin
  h := W;
  LStrAppendW(h, other.R);
end;

procedure TQuarnelStrW.Append(const s: UnicodeString);
begin
  LStrAppendWSzStrW(W, PWideChar(s), System.Length(s));
end;

procedure TQuarnelStrW.AppendChar(c: WideChar);
begin
  LStrAppendCharW(W, c);
end;

procedure TQuarnelStrW.AppendInt(value: Int32);
begin
  LStrAppendIntValueW(W, value);
end;

function TQuarnelStrW.Sprintf(const fmt: UnicodeString; const args: array of const): Int32;
begin
  Result := _LStrSprintfW(W, PWideChar(fmt), args);
end;

function TQuarnelStrW.CatSprintf(const fmt: UnicodeString; const args: array of const): Int32;
begin
  Result := _LStrCatSprintfW(W, PWideChar(fmt), args);
end;

function TQuarnelStrW.Split(separator: WideChar; trimmed: Boolean): TArray;
var
  list: CLWideStrList;
  source: CLWideStr;
begin
  list.growBy := 16;
  list.capacity := 0;
  list.count := 0;
  list.items := nil;
  source.handle := R;
  source.owned := False;
  try
    SplitBySepExW(@source, separator, @list, trimmed);
    Result := Fields(list);
  finally
    LStrListEndW(@list);
  end;
end;

function TQuarnelStrW.SplitInto(separator: WideChar; var slots: array of TQuarnelStrW; trimmed: Boolean): Int32;
var
  wrappers: array of CLWideStr;
  source: CLWideStr;
  copyOfText: TQuarnelStrW;
  i: Int32;
begin
  Result := 0;
  if System.Length(slots) = 0 then
    Exit;
  { A copy of the text, so that a slot that is this very string is free to
    change while the text is read. }
  copyOfText := Clone;
  System.SetLength(wrappers, System.Length(slots));
  for i := 0 to High(slots) do
  begin
    wrappers[i].handle := slots[i].W;
    wrappers[i].owned := False;
  end;
  source.handle := copyOfText.R;
  source.owned := False;
  Result := SplitBySepW(@source, separator, System.Length(wrappers), @wrappers[0], trimmed);
end;

function TQuarnelStrW.SplitFixed(const widths: array of Int32; trimmed: Boolean): TArray;
var
  list: CLWideStrList;
  source: CLWideStr;
  layout: PQuarnelInt;
begin
  list.growBy := 16;
  list.capacity := 0;
  list.count := 0;
  list.items := nil;
  source.handle := R;
  source.owned := False;
  layout := nil;
  if System.Length(widths) > 0 then
    layout := @widths[0];
  try
    SplitByFixedLayoutW(@source, System.Length(widths), layout, @list, trimmed);
    Result := Fields(list);
  finally
    LStrListEndW(@list);
  end;
end;

function TQuarnelStrW.SplitColumns(const columns: array of Int32; trimmed: Boolean): TArray;
var
  list: CLWideStrList;
  source: CLWideStr;
  layout: PQuarnelInt;
begin
  if Odd(System.Length(columns)) then
    raise EArgumentException.Create('SplitColumns: columns holds (first, last) pairs');
  list.growBy := 16;
  list.capacity := 0;
  list.count := 0;
  list.items := nil;
  source.handle := R;
  source.owned := False;
  layout := nil;
  if System.Length(columns) > 0 then
    layout := @columns[0];
  try
    SplitByFixedLayoutExW(@source, System.Length(columns) div 2, layout, @list, trimmed);
    Result := Fields(list);
  finally
    LStrListEndW(@list);
  end;
end;

function TQuarnelStrW.ToInt: Int32;
begin
  Result := LStrToIntW(R);
end;

function TQuarnelStrW.ToIntDef(defaultValue: Int32): Int32;
var
  h: LStrHandleW;
  p: PWideChar;
  value: Double;
begin
  h := R;
  Result := LStrToIntDefW(h, defaultValue);
  if Result = defaultValue then
    Exit;
  { The library wraps decimal numbers beyond 32 bits; StrToIntDef refuses
    them. "0x" text is a 32-bit pattern by design and is left alone. }
  p := LStrCstrW(h);
  if (LStrLengthW(h) > 2) and (p[0] = '0') and ((p[1] = 'x') or (p[1] = 'X')) then
    Exit;
  value := LStrToDoubleDefW(h, 0);
  if (value > High(Int32)) or (value < Low(Int32)) then
    Result := defaultValue;
end;

function TQuarnelStrW.ToFloatDef(defaultValue: Double): Double;
begin
  Result := LStrToDoubleDefW(R, defaultValue);
end;

class function TQuarnelStrW.FromAnsi(const s: TQuarnelStrA): TQuarnelStrW;
begin
  Result := Adopt(LStrAllocCloneAW(s.R));
end;

class function TQuarnelStrW.FromAnsiText(const s: AnsiString): TQuarnelStrW;
begin
  Result := Adopt(LStrAllocFromASzStrW(PAnsiChar(s), System.Length(s)));
end;

function TQuarnelStrW.ToAnsi: TQuarnelStrA;
begin
  Result := TQuarnelStrA.Adopt(LStrAllocCloneWA(R));
end;

function TQuarnelStrW.BSTR: PWideChar;
begin
  Result := LStrCbstrW(R);
end;

function TQuarnelStrW.BSTRRef: PLBSTR;
begin
  Result := LStrBSTRRef(W);
end;

function TQuarnelStrW.ByteSize: Int32;
begin
  Result := LStrWideCharBufSizeW(R);
end;

function TQuarnelStrW.GetLength: Int32;
begin
  Result := LStrLengthW(R);
end;

procedure TQuarnelStrW.SetLen(value: Int32);
begin
  LStrSetLengthW(W, value);
end;

function TQuarnelStrW.GetChar(position: Int32): WideChar;
var
  h: LStrHandleW;
begin
  h := R;
  CheckPositionW(h, position);
  Result := LStrGetCharAtW(h, position);
end;

procedure TQuarnelStrW.SetChar(position: Int32; c: WideChar);
var
  h: LStrHandleW;
begin
  h := W;
  CheckPositionW(h, position);
  LStrSetCharAtW(h, position, c);
end;

function TQuarnelStrW.GetBase: Int32;
begin
  Result := LStrGetCharIndexBaseW(R);
end;

procedure TQuarnelStrW.SetBase(value: Int32);
begin
  if (value <> 0) and (value <> 1) then
    raise ERangeError.CreateFmt('IndexBase is 0 or 1, not %d', [value]);
  LStrSetCharIndexBaseW(W, value);
end;

function TQuarnelStrW.GetText: UnicodeString;
var
  h: LStrHandleW;
begin
  h := R;
  SetString(Result, LStrCstrW(h), LStrLengthW(h));
end;

procedure TQuarnelStrW.SetText(const value: UnicodeString);
begin
  LStrAssignWSzStrW(W, PWideChar(value), System.Length(value));
end;

function ConcatW(const a, b: TQuarnelStrW): TQuarnelStrW;
var
  r: TQuarnelStrW;
begin
  r := a.Clone;
  r.Append(b);
  Result := r;
end;

function EqualW(const a, b: TQuarnelStrW): Boolean;
var
  n: Int32;
begin
  { Whole texts, zero units included (the library's comparison stops at the
    first zero unit). }
  n := a.Length;
  Result := (n = b.Length) and ((n = 0) or CompareMem(a.Data, b.Data, n * SizeOf(WideChar)));
end;

class operator TQuarnelStrW.{$IFDEF FPC}:={$ELSE}Implicit{$ENDIF}(const s: UnicodeString): TQuarnelStrW;
begin
  Result := Create(s);
end;

class operator TQuarnelStrW.{$IFDEF FPC}explicit{$ELSE}Explicit{$ENDIF}(const s: TQuarnelStrW): UnicodeString;
begin
  Result := s.Text;
end;

class operator TQuarnelStrW.{$IFDEF FPC}+{$ELSE}Add{$ENDIF}(const a, b: TQuarnelStrW): TQuarnelStrW;
begin
  Result := ConcatW(a, b);
end;

class operator TQuarnelStrW.{$IFDEF FPC}={$ELSE}Equal{$ENDIF}(const a, b: TQuarnelStrW): Boolean;
begin
  Result := EqualW(a, b);
end;

{$IFNDEF FPC}
class operator TQuarnelStrW.NotEqual(const a, b: TQuarnelStrW): Boolean;
begin
  Result := not EqualW(a, b);
end;
{$ENDIF}

class operator TQuarnelStrW.{$IFDEF FPC}<{$ELSE}LessThan{$ENDIF}(const a, b: TQuarnelStrW): Boolean;
begin
  Result := a.Compare(b) < 0;
end;

class operator TQuarnelStrW.{$IFDEF FPC}<={$ELSE}LessThanOrEqual{$ENDIF}(const a, b: TQuarnelStrW): Boolean;
begin
  Result := a.Compare(b) <= 0;
end;

class operator TQuarnelStrW.{$IFDEF FPC}>{$ELSE}GreaterThan{$ENDIF}(const a, b: TQuarnelStrW): Boolean;
begin
  Result := a.Compare(b) > 0;
end;

class operator TQuarnelStrW.{$IFDEF FPC}>={$ELSE}GreaterThanOrEqual{$ENDIF}(const a, b: TQuarnelStrW): Boolean;
begin
  Result := a.Compare(b) >= 0;
end;

initialization
  EmptyA := LStrAllocA;
  EmptyW := LStrAllocW;

finalization
  Q_LStrDestroyA(EmptyA);
  Q_LStrDestroyW(EmptyW);

end.
