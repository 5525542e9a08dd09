unit Unit1;
interface
uses Windows, SysUtils, Unit2;
implementation
uses Unit3;
end.
