unit Main.View;

interface

uses
  Winapi.Windows, Winapi.Messages, System.SysUtils, System.Classes, Vcl.Graphics,
  Vcl.Controls, Vcl.Forms, Vcl.Dialogs, Vcl.StdCtrls, Data.Module, Books.Model;

type
  TMainView = class(TForm)
    TitleLabel: TLabel;
  end;

var
  MainView: TMainView;

implementation

{$R *.dfm}

uses Vendor.Grid;

end.
