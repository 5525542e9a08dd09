unit Left;
interface
uses Common;
implementation
end.
