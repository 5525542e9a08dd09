object Form1: TForm1
  Left = 46
  Caption = 'Form1'
  Font.Color = clBlack
  object ListBox1: TListBox
    Items.Strings = (
      'One'
      'Two'
      'Three')
  end
  object StatusBar1: TStatusBar
    Panels = <
      item
        Width = 50
      end>
    SimplePanel = False
  end
  object Memo1: TMemo
    Lines.Strings = (
      'end')
    Tag = 7
  end
  object TTimer
    Interval = 500
  end
end
