a = 1
#include "missing.au3"
#include <Sub>
#include "MISSING.AU3"
b = 2
