#include <nothing-here.au3>
#include "nothing-here.au3"
x
