unit Unit1;

interface

uses Forms;

implementation

end.
