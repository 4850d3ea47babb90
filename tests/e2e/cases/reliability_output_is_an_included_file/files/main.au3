#include "lib\util.au3"
Util()
