unit EntryUnit;

interface

uses
  Windows, SysUtils, Classes, Graphics, Controls, Forms, StdCtrls;

type
  TEntryForm = class(TForm)
    AmountLabel: TLabel;
    AmountEdit: TEdit;
    CategoryBox: TComboBox;
    OKButton: TButton;
    CancelButton: TButton;
  end;

var
  EntryForm: TEntryForm;

implementation

uses DataUnit;

{$R *.DFM}

end.
