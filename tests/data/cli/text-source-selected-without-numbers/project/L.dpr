program L;
uses
  Cr in 'Cr.pas',
  Lf in 'Lf.pas',
  Mixed in 'Mixed.pas',
  Eof in 'Eof.pas',
  Long in 'Long.pas',
  Gone in 'Gone.pas',
  Empty in 'Empty.pas';
begin
end.
