program Demo;
uses
  Unit1 in 'Unit1.pas' {Form1},
  Unit2 in 'Unit2.pas' {Form2};
begin
  Application.CreateForm(TForm1, Form1);
  Application.CreateForm(TForm2, Form2);
end.
