#include "a.au3"
x = 1
