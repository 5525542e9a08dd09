// Demo uses Hidden, Secret: none of these are units
program Demo;

(* An older version read:
uses OldUnit;
*)
uses
  Forms, // the VCL. It shows the windows
  Main in 'Main.pas' {Form1}, // the main window
  (* Extra in 'Extra.pas' {Form9}, *)
  Tools in 'Tools.pas' // helpers
    {Form2};

{$R *.RES}

begin
  // Application.CreateForm(TForm2, Form2);
  (* Application.CreateForm(TForm9, Form9); *)
  Application.CreateForm(TForm1, Form1);
  Application.CreateForm(TForm2, Form2);
  Application.Run;
end.
