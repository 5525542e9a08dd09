unit C;

interface


implementation

end.
