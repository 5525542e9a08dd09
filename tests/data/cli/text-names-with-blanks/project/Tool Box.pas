unit Tools;

interface

uses Classes;

implementation

end.
