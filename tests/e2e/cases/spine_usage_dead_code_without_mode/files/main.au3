Func f()
EndFunc
