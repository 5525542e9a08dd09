unit Main;

interface

uses Second, Data;

implementation

end.
