unit Unit3;
interface
uses SysUtils;
implementation
end.
