program F;
uses
  Main in 'Main.pas' {MainForm},
  Other in 'Other.pas' {OtherForm};
begin
  Application.CreateForm(TMainForm, MainForm);
end.
