#include "pipe.au3"
$x = 1
