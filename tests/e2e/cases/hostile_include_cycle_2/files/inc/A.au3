$a = 1
#include "B.au3"
$a = 2
