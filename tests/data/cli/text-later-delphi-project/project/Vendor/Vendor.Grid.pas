unit Vendor.Grid;

interface

uses Vcl.Grids, Vendor.Export;

implementation

end.
