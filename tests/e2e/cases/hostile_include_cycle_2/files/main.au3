#include <a.au3>
$m = 1
