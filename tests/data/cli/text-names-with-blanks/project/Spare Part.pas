unit Spare;

interface

implementation

end.
