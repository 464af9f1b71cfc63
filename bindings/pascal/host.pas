{ A Free Pascal host: the README's small task (split a settings line, read
  the last field as a number, catch the failure), then checks of the
  declarations and of record mode. Prints "N passed, N failed". }
program host;

{$IFDEF FPC}{$MODE DELPHI}{$ENDIF}

uses SysUtils, quarnel;

var
  passed: Integer = 0;
  failed: Integer = 0;

procedure Expect(const name: string; ok: Boolean);
begin
  if ok then
    Inc(passed)
  else begin
    Inc(failed);
    WriteLn('FAILED: ', name);
  end;
end;

{ The thread's last call must have failed with code; then the library must
  still answer. }
procedure ExpectFailure(const name: string; code: UInt32);
var
  h: LStrHandleA;
begin
  try
    QuarnelCheck;
    Expect(name + ' fails', False);
  except
    on E: EQuarnelError do
      Expect(name + ' code and message', (E.Code = code) and (E.Message <> ''));
  end;
  h := LStrAllocFromASzStrA('7', -1);
  Expect(name + ' then the library goes on', LStrToIntA(h) = 7);
  LStrDestroyA(h);
end;

procedure Task;
var
  line, last: CLAnsiStr;
  fields: CLAnsiStrList;
  i: Integer;
begin
  line.handle := LStrAllocFromASzStrA('alpha, beta, 12x', -1);
  line.owned := True;
  FillChar(fields, SizeOf(fields), 0);
  fields.growBy := 8;
  SplitBySepExA(@line, ',', @fields, True);
  for i := 0 to fields.count - 1 do
    Write(QuarnelTextA(QuarnelFieldA(fields, i)), ' ');
  WriteLn;
  last.handle := QuarnelFieldA(fields, fields.count - 1);
  try
    LStrToIntA(last.handle);
    QuarnelCheck;
  except
    on E: EQuarnelError do
      WriteLn('not a number: ', E.Message, ' (', IntToHex(E.Code, 8), ')');
  end;
  LStrListEndA(@fields);
  Expect('an ended list is empty', (fields.count = 0) and (fields.capacity = 0) and
         (fields.items = nil));
  LStrDestroyA(line.handle);
end;

var
  h, other: LStrHandleA;
  w: LStrHandleW;
  wide: UnicodeString;
  source: CLAnsiStr;
  slots: array[0..2] of CLAnsiStr;
  i, n: Integer;
begin
  QuarnelRecordFailures;
  Task;

  h := LStrAllocFromASzStrA('12x', -1);
  LStrToIntA(h);
  ExpectFailure('LStrToIntA', QUARNEL_EXCEPTION_CONVERT);
  LStrGetCharAtA(h, 99);
  ExpectFailure('LStrGetCharAtA', QUARNEL_EXCEPTION_RANGE);
  other := LStrAllocStringOfCharA('x', High(Int32));
  ExpectFailure('LStrAllocStringOfCharA', QUARNEL_EXCEPTION_OUT_OF_MEMORY);
  Expect('no handle on failure', other = nil);
  Expect('the handle keeps its text', QuarnelTextA(h) = '12x');

  { One-byte bool results and 16-bit characters. }
  LStrAssignASzStrA(h, 'a\b', -1);
  Expect('bool', LStrIsPathDelimiterA(h, 2) and not LStrIsPathDelimiterA(h, 3));
  wide := 'caf' + WideChar($E9) + WideChar($20AC);
  w := LStrAllocFromWSzStrW(PWideChar(wide), Length(wide));
  Expect('UTF-16 round trip', (QuarnelTextW(w) = wide) and (LStrGetCharAtW(w, 5) = WideChar($20AC)));
  LStrDestroyW(w);

  { Fixed slots, each holding a live handle of the host's. }
  for i := 0 to High(slots) do begin
    slots[i].handle := LStrAllocFromASzStrA('old', -1);
    slots[i].owned := True;
  end;
  LStrAssignASzStrA(h, 'x;y', -1);
  source.handle := h;
  source.owned := False;
  n := SplitBySepA(@source, ';', Length(slots), @slots[0], False);
  Expect('slots', (n = 2) and (QuarnelTextA(slots[0].handle) = 'x') and
         (QuarnelTextA(slots[1].handle) = 'y') and (LStrLengthA(slots[2].handle) = 0));
  for i := 0 to High(slots) do
    LStrDestroyA(slots[i].handle);

  { The variadic formatting functions, cdecl everywhere. }
  n := _LStrSprintfA(h, '%d-%s-%.1f', 7, PAnsiChar('ab'), Double(2.5));
  Expect('printf', (n = 8) and (QuarnelTextA(h) = '7-ab-2.5'));
  LStrDestroyA(h);

  WriteLn('pascal: ', passed, ' passed, ', failed, ' failed');
  if failed > 0 then
    Halt(1);
end.
