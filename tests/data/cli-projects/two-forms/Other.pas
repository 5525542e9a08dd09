unit Other;
interface
implementation
end.
