; mold: one live function, one dead, one called only by the dead one
Func Main()
	MsgBox(0, "mold", "hello")
EndFunc
Main()
