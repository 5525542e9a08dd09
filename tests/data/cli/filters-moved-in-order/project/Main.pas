unit Main;
interface
uses Windows, SysUtils, Util;
implementation
end.
