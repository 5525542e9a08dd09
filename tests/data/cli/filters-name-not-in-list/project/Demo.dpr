program Demo;
uses
  Forms,
  Main in 'Main.pas' {MainForm},
  Util in 'Util.pas';
begin
  Application.CreateForm(TMainForm, MainForm);
end.
