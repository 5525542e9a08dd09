object MainForm: TMainForm
  Left = 200
  Top = 120
  Width = 480
  Height = 360
  Caption = 'Household Ledger'
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu1
  PixelsPerInch = 96
  TextHeight = 13
  object TopPanel: TPanel
    Left = 0
    Top = 0
    Width = 472
    Height = 41
    Align = alTop
    TabOrder = 0
    object BalanceLabel: TLabel
      Left = 8
      Top = 12
      Width = 80
      Height = 13
      Caption = 'Balance: 0.00'
    end
    object AddButton: TButton
      Left = 384
      Top = 8
      Width = 75
      Height = 25
      Caption = '&Add...'
      TabOrder = 0
      OnClick = AddButtonClick
    end
  end
  object EntryList: TListBox
    Left = 0
    Top = 41
    Width = 472
    Height = 273
    Align = alClient
    Items.Strings = (
      'Rent'
      'Groceries'
      'Electricity')
    TabOrder = 1
  end
  object MainMenu1: TMainMenu
    Left = 16
    Top = 56
    object FileMenu: TMenuItem
      Caption = '&File'
      object ExportItem: TMenuItem
        Caption = '&Export...'
        OnClick = ExportItemClick
      end
      object ExitItem: TMenuItem
        Caption = 'E&xit'
        OnClick = ExitItemClick
      end
    end
  end
end
