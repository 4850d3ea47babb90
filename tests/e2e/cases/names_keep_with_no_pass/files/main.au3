Global $kept = 1, $gone = 2
Func Unused()
EndFunc
