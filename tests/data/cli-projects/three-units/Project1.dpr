program Project1;
uses
  Forms,
  Unit1 in 'Unit1.pas' {Form1},
  Unit2 in 'Unit2.pas' {Form2},
  Unit3 in 'Unit3.pas';
begin
  Application.CreateForm(TForm1, Form1);
  Application.CreateForm(TForm2, Form2);
end.
