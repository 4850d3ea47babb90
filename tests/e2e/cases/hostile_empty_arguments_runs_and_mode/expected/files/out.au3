Func Unused()
EndFunc
x = 1
