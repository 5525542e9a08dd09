unit Export;

interface

uses Classes, DataUnit;

procedure ExportEntries(Data: TLedgerData; const FileName: string);

implementation

uses SysUtils;

procedure ExportEntries(Data: TLedgerData; const FileName: string);
var
  Lines: TStringList;
begin
  Lines := TStringList.Create;
  try
    Data.EntriesTable.First;
    while not Data.EntriesTable.EOF do
    begin
      Lines.Add(Data.EntriesTable.FieldByName('Amount').AsString);
      Data.EntriesTable.Next;
    end;
    Lines.SaveToFile(FileName);
  finally
    Lines.Free;
  end;
end;

end.
