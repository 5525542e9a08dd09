program P;
uses
  Main in 'Main.pas' {MainForm},
  Left in 'Left.pas',
  Right in 'Right.pas' {RightForm},
  Common in 'Common.pas',
  Self in 'Self.pas';
begin
  Application.CreateForm(TMainForm, MainForm);
end.
