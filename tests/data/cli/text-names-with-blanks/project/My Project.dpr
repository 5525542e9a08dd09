program MyProject;

uses
  Forms,
  Main in 'Main Window.pas' {MainForm},
  Tools in 'Tool Box.pas',
  Deep in 'Sub Dir\Deep Unit.pas' {DeepForm};

{$R *.RES}

begin
  Application.CreateForm(TMainForm, MainForm);
  Application.Run;
end.
