#include "au3shrink-no-such-file.au3"
#include <AU3SHRINK-NO-SUCH-FILE-2.AU3>
x = 1 ; kept: no pass selected
