unit Tools;

interface


implementation

end.
