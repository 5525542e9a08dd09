unit Util;
interface
uses Math;
implementation
end.
