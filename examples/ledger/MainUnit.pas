unit MainUnit;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,
  StdCtrls, ExtCtrls, Menus, EntryUnit, Totals;

type
  TMainForm = class(TForm)
    TopPanel: TPanel;
    BalanceLabel: TLabel;
    AddButton: TButton;
    EntryList: TListBox;
    MainMenu1: TMainMenu;
    FileMenu: TMenuItem;
    ExportItem: TMenuItem;
    ExitItem: TMenuItem;
    procedure AddButtonClick(Sender: TObject);
    procedure ExitItemClick(Sender: TObject);
    procedure ExportItemClick(Sender: TObject);
  end;

var
  MainForm: TMainForm;

implementation

uses DataUnit, Export;

{$R *.DFM}

procedure TMainForm.AddButtonClick(Sender: TObject);
begin
  if EntryForm.ShowModal = mrOk then
    BalanceLabel.Caption := FormatBalance(LedgerData.Balance);
end;

procedure TMainForm.ExitItemClick(Sender: TObject);
begin
  Close;
end;

procedure TMainForm.ExportItemClick(Sender: TObject);
begin
  ExportEntries(LedgerData, 'ledger.csv');
end;

end.
