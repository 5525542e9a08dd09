unit Scratch;

{ An old experiment, no longer part of the project. }

interface

implementation

end.
