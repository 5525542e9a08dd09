unit B;

interface


implementation

end.
