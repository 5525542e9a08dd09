unit Second;

interface


implementation

end.
