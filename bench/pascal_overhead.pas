{ What the Pascal unit costs over calling the library directly: a bare
  external declaration against the unit's checked wrapper (record mode per
  thread, failure raised at the call) and against TQuarnelStrA, for one
  number read and for a split into five fields. Prints nanoseconds per call
  and the ratios.

    fpc -O2 -Fubindings/pascal -Flbuild/src -k-rpath=$PWD/build/src bench/pascal_overhead.pas
    bench/pascal_overhead }
program pascal_overhead;
{$IFDEF FPC}{$MODE OBJFPC}{$ENDIF}{$H+}
uses SysUtils, quarnel;

function RawToInt(h: LStrHandleA): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrToIntA';
function RawSplit(source: PCLAnsiStr; separator: AnsiChar; list: PCLAnsiStrList; trim: Boolean): Int32; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'SplitBySepExA';
procedure RawListEnd(list: PCLAnsiStrList); {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external QuarnelLib name 'LStrListEndA';

const
  Calls = 4000000;
  Splits = 400000;

var
  started: QWord;

procedure Start;
begin
  started := GetTickCount64;
end;

function NsPerCall(count: Int32): Double;
begin
  Result := (GetTickCount64 - started) * 1e6 / count;
end;

var
  s, line: TQuarnelStrA;
  h: LStrHandleA;
  source: CLAnsiStr;
  list: CLAnsiStrList;
  fields: TQuarnelStrAArray;
  i: Int32;
  sum: Int64;
  raw, checked, friendly, rawFields, friendlyFields: Double;
begin
  s := '123456';
  h := s.Handle;
  sum := 0;
  Start;
  for i := 1 to Calls do
    Inc(sum, RawToInt(h));
  raw := NsPerCall(Calls);
  Start;
  for i := 1 to Calls do
    Inc(sum, LStrToIntA(h));
  checked := NsPerCall(Calls);
  Start;
  for i := 1 to Calls do
    Inc(sum, s.ToInt);
  friendly := NsPerCall(Calls);

  line := 'alpha,beta,gamma,delta,epsilon';
  source.handle := line.Handle;
  source.owned := False;
  Start;
  for i := 1 to Splits do
  begin
    FillChar(list, SizeOf(list), 0);
    list.growBy := 16;
    RawSplit(@source, ',', @list, False);
    RawListEnd(@list);
  end;
  rawFields := NsPerCall(Splits);
  Start;
  for i := 1 to Splits do
    fields := line.Split(',');
  friendlyFields := NsPerCall(Splits);

  WriteLn(Format('LStrToIntA   raw %6.1f ns  checked wrapper %6.1f ns (%.2fx)  TQuarnelStrA.ToInt %6.1f ns (%.2fx)',
    [raw, checked, checked / raw, friendly, friendly / raw]));
  WriteLn(Format('split into 5 raw %6.1f ns  TQuarnelStrA.Split %6.1f ns (%.2fx)',
    [rawFields, friendlyFields, friendlyFields / rawFields]));
  if sum = 0 then
    WriteLn;
end.
