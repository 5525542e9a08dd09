unit Odd;

interface

uses Math;

implementation

end.
