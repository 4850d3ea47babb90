Func Main()
	Return "the real file"
EndFunc
Func Angle()
EndFunc
Main()
