unit Unit2;
interface
uses Unit3, Unit1;
implementation
end.
