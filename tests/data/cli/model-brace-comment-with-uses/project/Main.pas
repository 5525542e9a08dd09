unit Main;

interface

uses Windows, Forms;

implementation

end.
