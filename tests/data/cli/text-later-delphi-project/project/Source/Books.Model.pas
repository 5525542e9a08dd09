unit Books.Model;

interface

uses
  System.Generics.Collections, Data.Module;

implementation

end.
