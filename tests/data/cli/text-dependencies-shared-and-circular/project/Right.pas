unit Right;
interface
implementation
uses Common, Main;
end.
