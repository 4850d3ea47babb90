Func Main()
	Local $r = 0
	Return $r
EndFunc
Main()
