unit Broken;

interface

uses Forms;

implementation

end.
