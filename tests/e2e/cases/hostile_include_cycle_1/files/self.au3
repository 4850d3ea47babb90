$s = 1
#include "SELF.AU3"
$s = 2
