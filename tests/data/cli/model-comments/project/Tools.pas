unit Tools;

(* This unit
   uses nothing but Classes; *)
interface

uses Classes;

implementation

end.
