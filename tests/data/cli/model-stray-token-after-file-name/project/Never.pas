unit Never;

interface


implementation

end.
