Func Angle()
EndFunc
