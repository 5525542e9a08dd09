object DM: TDM
  Height = 480
  Width = 640
  object Connection: TFDConnection
    Params.Strings = (
      'DriverID=SQLite')
    Left = 48
    Top = 32
  end
end
