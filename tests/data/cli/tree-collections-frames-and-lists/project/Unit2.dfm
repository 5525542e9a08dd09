object Form2: TForm2
  Caption = 'Frames'
  inline Frame11: TFrame1
    Left = 8
    inherited Label1: TLabel
      Caption = 'Customer'
    end
    inherited Edit1: TEdit
      Text = 'end'
    end
    object Button2: TButton
      Caption = 'Find'
    end
  end
  object Panel1: TPanel
    Align = alBottom
  end
end
