unit Demo;

interface


implementation

end.
