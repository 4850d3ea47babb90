; mold: one live function, one dead, one called only by the dead one
Func Helper($x)
	Return $x * 2
EndFunc
Func Unused()
	Return Helper(21)
EndFunc
Func Main()
	MsgBox(0, "mold", "hello")
EndFunc
Main()
