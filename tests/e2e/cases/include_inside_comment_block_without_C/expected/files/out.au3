#cs
The old way:
#include "lib.au3"
#ce
Func Hello()
	MsgBox(0, "t", "hi")
EndFunc
Func Unused()
EndFunc
Hello()
