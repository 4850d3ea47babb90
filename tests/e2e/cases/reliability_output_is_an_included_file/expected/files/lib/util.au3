Func Util()
	ConsoleWrite("util" & @CRLF)
EndFunc
