program Demo;
uses
  Main in 'Main.pas' {MainForm},
  Tools in 'Helpers.pas';
begin
  Application.CreateForm(TMainForm, MainForm);
end.
