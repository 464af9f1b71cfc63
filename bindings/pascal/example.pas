{ The README's Pascal program: split a record of a city, read its fields,
  catch the failure of the one that is not a number. }
program example;
{$IFDEF FPC}{$MODE OBJFPC}{$ENDIF}{$H+}
uses SysUtils, quarnel;
var
  fields: TQuarnelStrAArray;
begin
  fields := TQuarnelStrA('Lyon; 513275 ; 12x').Split(';', True);
  WriteLn(fields[0].UpperCase.Text, ' has ', fields[1].ToInt, ' inhabitants');
  try
    fields[2].ToInt;
  except
    on E: EConvertError do
      WriteLn('not a number: ', E.Message);
  end;
end.
