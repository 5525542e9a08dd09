unit Hidden;

interface


implementation

end.
