object Frame1: TFrame1
  Width = 320
  object Label1: TLabel
    Caption = 'Name'
  end
  object Edit1: TEdit
    Text = ''
  end
end
