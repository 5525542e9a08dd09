unit A;

interface

uses LibA;

implementation

end.
