unit Unit1;

interface

uses Unit2, SysUtils;

implementation

end.
