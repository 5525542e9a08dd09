program Demo;
uses
  Forms,
  Unit1 in 'Unit1.pas' {Form1},
  Frame1 in 'Frame1.pas' {Frame1: TFrame},
  Unit2 in 'Unit2.pas' {Form2};
begin
  Application.CreateForm(TForm1, Form1);
  Application.CreateForm(TForm2, Form2);
end.
