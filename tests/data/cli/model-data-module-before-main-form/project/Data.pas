unit Data;

interface

uses DB;

implementation

end.
