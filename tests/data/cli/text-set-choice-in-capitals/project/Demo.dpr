program Demo;
uses
  Main in 'Main.pas' {MainForm};
begin
  Application.Run;
end.
