unit A;

interface


implementation

end.
