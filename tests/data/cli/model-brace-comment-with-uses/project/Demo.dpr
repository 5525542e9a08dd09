{ This program uses Hidden, Secret; }
program Demo;

uses
  Forms,
  Main in 'Main.pas' {Form1};

begin
  Application.CreateForm(TForm1, Form1);
  Application.Run;
end.
