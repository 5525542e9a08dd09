unit Self;
interface
uses Self;
implementation
end.
