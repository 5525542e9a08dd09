object Form1: TForm1
  Caption = 'Fresh'
end
