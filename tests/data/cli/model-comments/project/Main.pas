unit Main;

interface

// This unit uses GetVersionEx info from Windows.
uses
  Windows, // for GetVersionEx
  SysUtils, (* Classes, *)
  Tools; // the helpers. If missing, build them first

implementation

uses
  Dialogs, db // the db unit. Probably
  ;

end.
