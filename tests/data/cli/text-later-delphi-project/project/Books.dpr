program Books;

uses
  Vcl.Forms,
  Main.View in 'Main.View.pas' {MainView},
  Data.Module in 'Data.Module.pas' {DM: TDataModule},
  Books.Model in 'Source\Books.Model.pas',
  Vendor.Grid in 'Vendor\Vendor.Grid.pas',
  Vendor.Export in 'Vendor\Vendor.Export.pas',
  Lodz.Report in 'Łódź\Lodz.Report.pas' {ReportView};

{$R *.res}

begin
  Application.Initialize;
  Application.MainFormOnTaskbar := True;
  Application.CreateForm(TDM, DM);
  Application.CreateForm(TMainView, MainView);
  Application.Run;
end.
