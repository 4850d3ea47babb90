Global $kept = 1
Func Unused()
EndFunc
