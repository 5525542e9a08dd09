program Demo;
uses
  Unit1 in 'Unit1.pas' {Form1},
  UNIT1 in 'Other.pas' {Form9},
  Unit2 in 'Unit2.pas';
begin
  Application.CreateForm(TForm9, Form9);
  Application.CreateForm(TForm1, Form1);
end.
