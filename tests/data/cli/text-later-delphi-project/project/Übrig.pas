unit Übrig;

interface

implementation

end.
