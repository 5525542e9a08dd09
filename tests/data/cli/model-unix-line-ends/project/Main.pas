unit Main;
interface
uses
  Windows,
  Dialogs;
implementation
end.
