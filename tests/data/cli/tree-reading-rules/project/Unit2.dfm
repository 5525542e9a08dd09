inherited Form2: TForm2
  Caption = 'Child'
  inherited Panel1: TPanel
    object Button1: TButton [0]
      Left = 8
    end
  end
  object Hex: TImage
    Picture.Data = {
      ABCDEF0123
      45}
  end
end
