unit Deep;

interface

uses Dialogs;

implementation

end.
