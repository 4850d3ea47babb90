#include "c1.au3"
$m = 1
