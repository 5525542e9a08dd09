program Odd;

uses
  Main in 'Main.pas' {MainForm};

Application.CreateForm(TMainForm, MainForm);
begin