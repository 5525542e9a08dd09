object MainForm: TMainForm
  object Panel1: TPanel
    object OK: TButton
    end
  end
  object Label1: TLabel
  end
  object Cancel: TButton
  end
end
