unit Vendor.Export;

interface

uses System.IOUtils;

implementation

end.
