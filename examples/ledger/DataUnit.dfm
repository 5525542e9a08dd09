object LedgerData: TLedgerData
  Left = 300
  Top = 200
  Height = 150
  Width = 215
  object EntriesTable: TTable
    DatabaseName = 'LEDGER'
    TableName = 'ENTRIES.DB'
    Left = 24
    Top = 16
  end
  object EntriesSource: TDataSource
    DataSet = EntriesTable
    Left = 96
    Top = 16
  end
end
