program Demo;
uses
  Main in 'Main.pas' {MainForm},
  Deep in 'Common\Shared\Deep.pas';
begin
  Application.CreateForm(TMainForm, MainForm);
end.
