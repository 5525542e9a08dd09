program Demo;
uses
  A in 'A.pas' {FormA};
begin
  Application.CreateForm(TFormA, FormA);
end.
