#include <array.au3>
#include "UTIL.au3"
