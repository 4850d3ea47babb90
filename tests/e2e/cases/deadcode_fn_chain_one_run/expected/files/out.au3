Func Leaf()
EndFunc
Func Middle()
	Leaf()
EndFunc
Func Main()
	ConsoleWrite("main" & @CRLF)
EndFunc
Main()
