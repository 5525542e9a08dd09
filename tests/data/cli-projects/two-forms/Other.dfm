object OtherForm: TOtherForm
  object Lower: tbutton
    Tag = 9
  end
end
