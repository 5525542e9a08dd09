program Mixed;

uses
  Shared in 'Shared.pas';

begin
end.
