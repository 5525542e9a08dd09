object MainView: TMainView
  Left = 0
  Top = 0
  Caption = 'Books'
  ClientHeight = 441
  ClientWidth = 624
  Font.Name = 'Segoe UI'
  TextHeight = 15
  object TitleLabel: TLabel
    Left = 8
    Top = 8
    Caption = 'All books'
  end
end
