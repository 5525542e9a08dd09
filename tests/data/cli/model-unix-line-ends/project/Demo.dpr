program Demo;
uses
  Forms,
  Main in 'Main.pas' {MainForm};
begin
  Application.CreateForm(TMainForm, MainForm);
end.
