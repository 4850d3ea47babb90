Func Leaf()
EndFunc
Func Middle()
	Leaf()
EndFunc
Func Top()
	Middle()
EndFunc
Func Main()
	ConsoleWrite("main" & @CRLF)
EndFunc
Main()
