unit C;

interface

uses LibC;

implementation

end.
