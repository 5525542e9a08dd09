object MainForm: TMainForm
  Caption = 'Main'
  object Panel1: TPanel
    Align = alTop
    object Inner: TPanel
      Tag = 1
      object Deep: TLabel
        Caption = 'deep'
      end
    end
    object Button2: TButton
      Left = 2
    end
  end
  object Button1: TButton
    Caption = 'OK'
  end
end
