program Cut;

uses
  Main in 'Main.pas' {MainForm};

begin