unit Main;
interface
implementation
end.
