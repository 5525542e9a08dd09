object MainForm: TMainForm
  Caption = 'Main'
  object OkButton: TButton
    Caption = 'OK'
  end
end
