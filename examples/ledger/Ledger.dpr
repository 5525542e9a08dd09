program Ledger;

uses
  Forms,
  MainUnit in 'MainUnit.pas' {MainForm},
  EntryUnit in 'EntryUnit.pas' {EntryForm},
  DataUnit in 'DataUnit.pas' {LedgerData: TDataModule},
  Totals in 'Totals.pas',
  Export in 'lib\Export.pas';

{$R *.RES}

begin
  Application.Initialize;
  Application.Title := 'Household Ledger';
  Application.CreateForm(TLedgerData, LedgerData);
  Application.CreateForm(TMainForm, MainForm);
  Application.CreateForm(TEntryForm, EntryForm);
  Application.Run;
end.
