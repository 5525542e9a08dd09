program Demo;
uses
  A in 'A.pas',
  B in 'B.pas',
  C in 'C.pas' {FormC};
begin
  Application.CreateForm(TFormC, FormC);
end.
