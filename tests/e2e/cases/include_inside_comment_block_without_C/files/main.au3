#cs
The old way:
#include "lib.au3"
#ce
#include "lib.au3"
Hello()
