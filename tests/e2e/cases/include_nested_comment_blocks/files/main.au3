#cs outer
#cs inner
#include "a.au3"
#ce inner: the block ends here
#include "b.au3"
#ce outer: an ordinary line now
#comments-start
#ce does not close this one
#include "a.au3"
#comments-end
#include "open.au3"
#include "a.au3"
#ce
Done()
