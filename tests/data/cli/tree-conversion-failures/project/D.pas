unit D;

interface


implementation

end.
