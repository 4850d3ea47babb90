Func Hello()
	MsgBox(0, "t", "hi")
EndFunc
Hello()
