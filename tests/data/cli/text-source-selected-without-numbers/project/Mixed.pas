unit Mixed;
const S = 'a'
 + 'b';
end.
