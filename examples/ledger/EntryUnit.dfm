object EntryForm: TEntryForm
  Left = 240
  Top = 160
  BorderStyle = bsDialog
  Caption = 'New Entry'
  ClientHeight = 121
  ClientWidth = 281
  PixelsPerInch = 96
  TextHeight = 13
  object AmountLabel: TLabel
    Left = 8
    Top = 12
    Width = 39
    Height = 13
    Caption = 'Amount:'
  end
  object AmountEdit: TEdit
    Left = 64
    Top = 8
    Width = 121
    Height = 21
    TabOrder = 0
  end
  object CategoryBox: TComboBox
    Left = 64
    Top = 40
    Width = 145
    Height = 21
    Style = csDropDownList
    TabOrder = 1
  end
  object OKButton: TButton
    Left = 112
    Top = 84
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 2
  end
  object CancelButton: TButton
    Left = 196
    Top = 84
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 3
  end
end
