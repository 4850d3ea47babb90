Func Hello()
	MsgBox(0, "t", "hi")
EndFunc
Func Unused()
EndFunc
