$m = 1
#include "Main.au3"
#include "self.au3"
$m = 2
