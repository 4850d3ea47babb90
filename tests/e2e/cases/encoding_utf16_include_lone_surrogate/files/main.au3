Local $x = 1
#include "bad.au3"
MsgBox(0, "x", $x)
