unit Data.Module;

interface

uses
  System.SysUtils, System.Classes, Data.DB, FireDAC.Comp.Client;

type
  TDM = class(TDataModule)
    Connection: TFDConnection;
  end;

var
  DM: TDM;

implementation

{$R *.dfm}

end.
