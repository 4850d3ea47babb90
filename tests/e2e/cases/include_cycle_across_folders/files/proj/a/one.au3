#include "one.au3"
#include "..\b\two.au3"
ConsoleWrite("one")
