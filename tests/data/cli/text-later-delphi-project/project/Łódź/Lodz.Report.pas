unit Lodz.Report;

interface

uses
  Vcl.Forms, Vcl.StdCtrls, Main.View;

type
  TReportView = class(TForm)
    TotalLabel: TLabel;
  end;

var
  ReportView: TReportView;

implementation

{$R *.dfm}

end.
