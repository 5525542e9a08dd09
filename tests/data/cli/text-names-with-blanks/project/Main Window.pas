unit Main;

interface

uses SysUtils, Tools;

implementation

end.
