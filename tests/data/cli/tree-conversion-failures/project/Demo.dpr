program Demo;
uses
  A in 'A.pas' {FormA},
  B in 'B.pas' {FormB},
  C in 'C.pas' {FormC},
  D in 'D.pas' {FormD};
begin
  Application.CreateForm(TFormA, FormA);
end.
