object ReportView: TReportView
  Left = 8
  Top = 8
  Caption = 'Report'
  ClientHeight = 120
  ClientWidth = 240
  object TotalLabel: TLabel
    Left = 16
    Top = 16
    Caption = 'Total'
  end
end
