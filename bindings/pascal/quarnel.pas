{ Pascal host declarations for the Quarnel string-handle library (Free Pascal
  and Delphi-family compilers).

  Every export is declared with its exact C types: stdcall on Windows, cdecl
  elsewhere; the caller-cleans '_' formatting functions are cdecl varargs
  everywhere. The records match the C layouts field for field.

  Failures: a host that cannot catch the library's exceptions calls
  QuarnelRecordFailures once per thread; a failing call then returns its
  neutral value and QuarnelCheck raises EQuarnelError with the failure's code
  and message.

    uses quarnel;
    var h: LStrHandleA;
    begin
      QuarnelRecordFailures;
      h := LStrAllocFromASzStrA('12x', -1);
      LStrToIntA(h);
      try QuarnelCheck except on E: EQuarnelError do WriteLn(E.Message) end;
      LStrDestroyA(h);
    end. }
unit quarnel;

{$IFDEF FPC}
  {$MODE DELPHI}
  {$PACKRECORDS C}
{$ENDIF}

interface

uses SysUtils;

const
{$IFDEF MSWINDOWS}
  QuarnelLib = 'Quarnel.dll';
{$ELSE}
  QuarnelLib = 'quarnel';  { libquarnel.so, found by the linker and the loader }
{$ENDIF}

  QUARNEL_EXCEPTION_RANGE = $E0510001;
  QUARNEL_EXCEPTION_CONVERT = $E0510002;
  QUARNEL_EXCEPTION_OUT_OF_MEMORY = $E0510003;
  QUARNEL_EXCEPTION_INVALID_HANDLE = $E0510004;

type
  LAnsiStrRec = record
    payload: PAnsiChar;
    charIndexBase: Int32;
  end;
  LWideStrRec = record
    payload: PWideChar;
    charIndexBase: Int32;
  end;
  LStrHandleA = ^LAnsiStrRec;
  LStrHandleW = ^LWideStrRec;
  PLBSTR = ^PWideChar;
  PQuarnelInt = ^Int32;

  { A wrapper of one handle; ending it destroys the handle only when owned. }
  CLAnsiStr = record
    handle: LStrHandleA;
    owned: Boolean;
  end;
  CLWideStr = record
    handle: LStrHandleW;
    owned: Boolean;
  end;
  PCLAnsiStr = ^CLAnsiStr;
  PCLWideStr = ^CLWideStr;
  PPCLAnsiStr = ^PCLAnsiStr;
  PPCLWideStr = ^PCLWideStr;

  { The list the splitting functions fill; release it with LStrListEndA/W. }
  CLAnsiStrList = record
    growBy: Int32;
    capacity: Int32;
    count: Int32;
    items: PPCLAnsiStr;
  end;
  CLWideStrList = record
    growBy: Int32;
    capacity: Int32;
    count: Int32;
    items: PPCLWideStr;
  end;
  PCLAnsiStrList = ^CLAnsiStrList;
  PCLWideStrList = ^CLWideStrList;

  EQuarnelError = class(Exception)
  public
    Code: UInt32;
    constructor Create(ACode: UInt32; const AMessage: string);
  end;

{ BEGIN GENERATED DECLARATIONS (tools/check_bindings.py --write) }
function LStrAllocA: LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocW: LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocCloneAA(src: LStrHandleA): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocCloneWW(src: LStrHandleW): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocCloneWA(src: LStrHandleW): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocCloneAW(src: LStrHandleA): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocFromASzStrA(Atext: PAnsiChar; length: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocFromWSzStrA(Atext: PWideChar; length: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocFromASzStrW(Atext: PAnsiChar; length: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocFromWSzStrW(Atext: PWideChar; length: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocFromCharA(c: AnsiChar): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocFromCharW(c: WideChar): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocStringOfCharA(c: AnsiChar; count: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocStringOfCharW(c: WideChar; count: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrDestroyA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrDestroyW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrUniqueA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrUniqueW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrGetCharIndexBaseA(h: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrGetCharIndexBaseW(h: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrSetCharIndexBaseA(h: LStrHandleA; base: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrSetCharIndexBaseW(h: LStrHandleW; base: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrCstrA(h: LStrHandleA): PAnsiChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrCstrW(h: LStrHandleW): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrCbstrW(h: LStrHandleW): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrBSTRRef(h: LStrHandleW): PLBSTR; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrLengthA(h: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrLengthW(h: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrSetLengthA(h: LStrHandleA; length: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrSetLengthW(h: LStrHandleW; length: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrGetCharAtA(h: LStrHandleA; position: Int32): AnsiChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrGetCharAtW(h: LStrHandleW; position: Int32): WideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrSetCharAtA(h: LStrHandleA; position: Int32; c: AnsiChar); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrSetCharAtW(h: LStrHandleW; position: Int32; c: WideChar); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrCharAddrAtA(h: LStrHandleA; position: Int32): PAnsiChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrCharAddrAtW(h: LStrHandleW; position: Int32): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAssignA(dst: LStrHandleA; src: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAssignW(dst: LStrHandleW; src: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAssignASzStrA(h: LStrHandleA; Atext: PAnsiChar; length: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAssignWSzStrW(h: LStrHandleW; Atext: PWideChar; length: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAppendA(dst: LStrHandleA; src: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAppendW(dst: LStrHandleW; src: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAppendASzStrA(h: LStrHandleA; Atext: PAnsiChar; length: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAppendWSzStrW(h: LStrHandleW; Atext: PWideChar; length: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAppendCharA(h: LStrHandleA; c: AnsiChar): PAnsiChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAppendCharW(h: LStrHandleW; c: WideChar): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrCompareA(a: LStrHandleA; b: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrCompareICA(a: LStrHandleA; b: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrCompareW(a: LStrHandleW; b: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrCompareICW(a: LStrHandleW; b: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrPosA(h: LStrHandleA; pattern: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrPosW(h: LStrHandleW; pattern: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrPosPtrA(h: LStrHandleA; pattern: PAnsiChar): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrPosPtrW(h: LStrHandleW; pattern: PWideChar): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrUnicodePosW(h: LStrHandleW; pattern: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAnsiPosA(h: LStrHandleA; pattern: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrSubStringA(h: LStrHandleA; pos: Int32; count: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrSubStringW(h: LStrHandleW; pos: Int32; count: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrLeftA(h: LStrHandleA; count: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrLeftW(h: LStrHandleW; count: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrRightA(h: LStrHandleA; count: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrRightW(h: LStrHandleW; count: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrIsDelimiterA(h: LStrHandleA; delimiters: LStrHandleA; pos: Int32): Boolean; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrIsDelimiterW(h: LStrHandleW; delimiters: LStrHandleW; pos: Int32): Boolean; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrIsPathDelimiterA(h: LStrHandleA; pos: Int32): Boolean; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrIsPathDelimiterW(h: LStrHandleW; pos: Int32): Boolean; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrLastDelimiterA(h: LStrHandleA; delimiters: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrLastDelimiterW(h: LStrHandleW; delimiters: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAnsiLastCharA(h: LStrHandleA): PAnsiChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrUnicodeLastCharW(h: LStrHandleW): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrInsertA(h: LStrHandleA; source: LStrHandleA; pos: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrInsertW(h: LStrHandleW; source: LStrHandleW; pos: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrDeleteA(h: LStrHandleA; pos: Int32; count: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrDeleteW(h: LStrHandleW; pos: Int32; count: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrLowerCaseA(h: LStrHandleA): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrLowerCaseW(h: LStrHandleW): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrUpperCaseA(h: LStrHandleA): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrUpperCaseW(h: LStrHandleW): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrSelfLowerCaseA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrSelfLowerCaseW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrSelfUpperCaseA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrSelfUpperCaseW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrTrimA(h: LStrHandleA): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrTrimW(h: LStrHandleW): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrTrimLeftA(h: LStrHandleA): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrTrimLeftW(h: LStrHandleW): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrTrimRightA(h: LStrHandleA): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrTrimRightW(h: LStrHandleW): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrSelfTrimA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrSelfTrimW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrSelfTrimLeftA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrSelfTrimLeftW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrSelfTrimRightA(h: LStrHandleA); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrSelfTrimRightW(h: LStrHandleW); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrPadLeftA(h: LStrHandleA; padChar: AnsiChar; width: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrPadLeftW(h: LStrHandleW; padChar: WideChar; width: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrPadRightA(h: LStrHandleA; padChar: AnsiChar; width: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrPadRightW(h: LStrHandleW; padChar: WideChar; width: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrReplaceA(h: LStrHandleA; search: PAnsiChar; replacement: PAnsiChar): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrReplaceW(h: LStrHandleW; search: PWideChar; replacement: PWideChar): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function SplitBySepA(source: PCLAnsiStr; separator: AnsiChar; slotCount: Int32; slots: PCLAnsiStr; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function SplitBySepW(source: PCLWideStr; separator: WideChar; slotCount: Int32; slots: PCLWideStr; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function SplitBySepExA(source: PCLAnsiStr; separator: AnsiChar; list: PCLAnsiStrList; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function SplitBySepExW(source: PCLWideStr; separator: WideChar; list: PCLWideStrList; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function SplitByFixedLayoutA(source: PCLAnsiStr; fieldCount: Int32; widths: PQuarnelInt; list: PCLAnsiStrList; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function SplitByFixedLayoutW(source: PCLWideStr; fieldCount: Int32; widths: PQuarnelInt; list: PCLWideStrList; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function SplitByFixedLayoutExA(source: PCLAnsiStr; fieldCount: Int32; columns: PQuarnelInt; list: PCLAnsiStrList; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function SplitByFixedLayoutExW(source: PCLWideStr; fieldCount: Int32; columns: PQuarnelInt; list: PCLWideStrList; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function SplitNamedEquA(Atext: PAnsiChar; list: PCLAnsiStrList; trim: Boolean; separator: AnsiChar): Boolean; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function SplitNamedEquW(Atext: PWideChar; list: PCLWideStrList; trim: Boolean; separator: WideChar): Boolean; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrHeapAlloc(bytes: Int32): Pointer; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrHeapFree(block: Pointer); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrListEndA(list: PCLAnsiStrList); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
procedure LStrListEndW(list: PCLWideStrList); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrWideCharBufSizeA(h: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrWideCharA(h: LStrHandleA; buffer: PWideChar; capacity: Int32): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrWideCharBufSizeW(h: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocLoadStrA(module: Pointer; id: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocLoadStrW(module: Pointer; id: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocFromInt64A(value: Int64): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocFromInt64W(value: Int64): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocFromUInt64A(value: UInt64): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocFromUInt64W(value: UInt64): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocFromDoubleA(value: Double): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAllocFromDoubleW(value: Double): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrIntToHexA(value: Int32; digits: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrIntToHexW(value: Int32; digits: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrToIntA(h: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrToIntW(h: LStrHandleW): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrToIntDefA(h: LStrHandleA; defaultValue: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrToIntDefW(h: LStrHandleW; defaultValue: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrToDoubleDefA(h: LStrHandleA; defaultValue: Double): Double; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrToDoubleDefW(h: LStrHandleW; defaultValue: Double): Double; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAppendIntValueA(h: LStrHandleA; value: Int32): PAnsiChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrAppendIntValueW(h: LStrHandleW; value: Int32): PWideChar; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrFloatToStrFA(value: Double; format: Int32; precision: Int32; digits: Int32): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrFloatToStrFW(value: Double; format: Int32; precision: Int32; digits: Int32): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrFormatFloatA(format: LStrHandleA; value: PDouble): LStrHandleA; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrFormatFloatW(format: LStrHandleW; value: PDouble): LStrHandleW; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function _LStrFormatA(format: LStrHandleA): LStrHandleA; cdecl; varargs; external QuarnelLib;
function _LStrFormatW(format: LStrHandleW): LStrHandleW; cdecl; varargs; external QuarnelLib;
function _LStrSprintfA(dest: LStrHandleA; format: PAnsiChar): Int32; cdecl; varargs; external QuarnelLib;
function _LStrSprintfW(dest: LStrHandleW; format: PWideChar): Int32; cdecl; varargs; external QuarnelLib;
function _LStrPrintfA(dest: LStrHandleA; format: PAnsiChar): Int32; cdecl; varargs; external QuarnelLib;
function _LStrPrintfW(dest: LStrHandleW; format: PWideChar): Int32; cdecl; varargs; external QuarnelLib;
function _LStrCatSprintfA(dest: LStrHandleA; format: PAnsiChar): Int32; cdecl; varargs; external QuarnelLib;
function _LStrCatSprintfW(dest: LStrHandleW; format: PWideChar): Int32; cdecl; varargs; external QuarnelLib;
function _LStrCatPrintfA(dest: LStrHandleA; format: PAnsiChar): Int32; cdecl; varargs; external QuarnelLib;
function _LStrCatPrintfW(dest: LStrHandleW; format: PWideChar): Int32; cdecl; varargs; external QuarnelLib;
function LStrSetFailureMode(mode: Int32): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
function LStrGetLastFailure(message: PAnsiChar; capacity: Int32): UInt32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib;
{ END GENERATED DECLARATIONS }

{ Puts the calling thread in record mode. }
procedure QuarnelRecordFailures;
{ Raises EQuarnelError when the thread's last call failed. }
procedure QuarnelCheck;
{ The text of an A handle, zero bytes included. }
function QuarnelTextA(h: LStrHandleA): AnsiString;
{ The text of a W handle. }
function QuarnelTextW(h: LStrHandleW): UnicodeString;
{ Field i (from 0) of a list. }
function QuarnelFieldA(const list: CLAnsiStrList; i: Int32): LStrHandleA;
function QuarnelFieldW(const list: CLWideStrList; i: Int32): LStrHandleW;

implementation

constructor EQuarnelError.Create(ACode: UInt32; const AMessage: string);
begin
  inherited Create(AMessage);
  Code := ACode;
end;

procedure QuarnelRecordFailures;
begin
  LStrSetFailureMode(1);
end;

procedure QuarnelCheck;
var
  buffer: array[0..511] of AnsiChar;
  code: UInt32;
begin
  code := LStrGetLastFailure(@buffer[0], Length(buffer));
  if code <> 0 then
    raise EQuarnelError.Create(code, string(AnsiString(PAnsiChar(@buffer[0]))));
end;

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
  slot := list.items;
  Inc(slot, i);
  Result := slot^^.handle;
end;

function QuarnelFieldW(const list: CLWideStrList; i: Int32): LStrHandleW;
var
  slot: PPCLWideStr;
begin
  slot := list.items;
  Inc(slot, i);
  Result := slot^^.handle;
end;

end.
