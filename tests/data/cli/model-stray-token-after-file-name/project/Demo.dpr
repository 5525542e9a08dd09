program Demo;
uses
  Main in 'Main.pas' {MainForm},
  Odd in 'Odd.pas' (stray),
  Never in 'Never.pas' {NeverForm};
begin
  Application.CreateForm(TMainForm, MainForm);
end.
