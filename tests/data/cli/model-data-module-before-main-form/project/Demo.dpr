program Demo;
uses
  Forms,
  Data in 'Data.pas' {DM: TDataModule},
  Main in 'Main.pas' {MainForm},
  Second in 'Second.pas' {SecondForm};
begin
  Application.Initialize;
  Application.CreateForm(TDM, DM);
  Application.CreateForm(TMainForm, MainForm);
  Application.CreateForm(TSecondForm, SecondForm);
  Application.Run;
end.
