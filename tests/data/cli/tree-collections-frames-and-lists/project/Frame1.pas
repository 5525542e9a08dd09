unit Frame1;
interface
implementation
end.
