Func F()
EndFunc
