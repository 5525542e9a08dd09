unit DataUnit;

interface

uses
  SysUtils, Classes, DB, DBTables;

type
  TLedgerData = class(TDataModule)
    EntriesTable: TTable;
    EntriesSource: TDataSource;
  public
    function Balance: Currency;
  end;

var
  LedgerData: TLedgerData;

implementation

{$R *.DFM}

function TLedgerData.Balance: Currency;
begin
  Result := 0;
  EntriesTable.First;
  while not EntriesTable.EOF do
  begin
    Result := Result + EntriesTable.FieldByName('Amount').AsCurrency;
    EntriesTable.Next;
  end;
end;

end.
