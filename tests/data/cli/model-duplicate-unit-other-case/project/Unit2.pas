unit Unit2;

interface

uses sysutils, Classes;

implementation

end.
