unit Main;

interface

uses Deep;

implementation

end.
