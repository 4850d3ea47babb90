Func Greet($s)
	MsgBox(0, "Greeting", $s)
EndFunc
Func NotCalled()
EndFunc
