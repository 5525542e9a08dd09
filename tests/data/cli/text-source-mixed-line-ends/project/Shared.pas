unit Shared;

interface

uses SysUtils;

implementation
end.
