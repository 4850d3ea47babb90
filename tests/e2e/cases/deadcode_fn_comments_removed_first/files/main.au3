; Startup() is called from this comment only
Func Startup()
	Return 1
EndFunc
Func Main()
	Local $r = 0 ; Startup()
	Return $r
EndFunc
Main()
Func Leftover()
	Return 2
