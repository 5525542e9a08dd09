unit Main;
interface
uses Left, Right;
implementation
end.
