unit Main;

interface

uses Forms;

implementation

end.
