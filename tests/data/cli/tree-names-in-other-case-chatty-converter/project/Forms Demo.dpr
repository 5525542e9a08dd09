program FormsDemo;

uses
  Forms,
  Main in 'Main Window.pas' {MainForm},
  Unit1 in 'unit1.pas' {Form1},
  Broken in 'Broken.pas' {BrokenForm};

begin
  Application.CreateForm(TMainForm, MainForm);
  Application.CreateForm(TForm1, Form1);
  Application.Run;
end.
