unit Totals;

{ Formatting of sums for the ledger's labels. }

interface

uses SysUtils;

function FormatBalance(Value: Currency): string;

implementation

function FormatBalance(Value: Currency): string;
begin
  Result := 'Balance: ' + FormatFloat('#,##0.00', Value);
end;

end.
