unit Common;
interface
uses Self, Classes;
implementation
end.
