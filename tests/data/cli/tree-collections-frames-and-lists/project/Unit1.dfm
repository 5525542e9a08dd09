object Form1: TForm1
  Left = 46
  Caption = 'Collections'
  object StatusBar1: TStatusBar
    Panels = <
      item
        Width = 60
      end
      item
        Text = 'end'
        Width = 50
      end>
    SimplePanel = False
  end
  object Button1: TButton
    Caption = 'OK'
  end
  object ListView1: TListView
    Columns = <>
    ViewStyle = vsReport
  end
  object ActionManager1: TActionManager
    ActionBars = <
      item
        Items = <
          item
            Caption = 'object'
          end
          item
            Caption = '&Open'
          end>
        ActionBar = ActionToolBar1
      end>
    Left = 200
  end
  object ListBox1: TListBox
    Items.Strings = (
      'One'
      'end'
      'object'
      'Three')
    TabStops = (
      8
      16)
  end
  object Label1: TLabel
    Caption = 
      'Choose the sub-directory in which the files are kept, and the ' +
      'sub-directory: '
    FocusControl = ListBox1
  end
  object Image1: TImage
    Picture.Data = {
      07544269746D6170
      ABCDEF
      0123456789}
    Stretch = True
  end
end
