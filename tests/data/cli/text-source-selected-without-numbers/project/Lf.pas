unit Lf;
	interface

end.