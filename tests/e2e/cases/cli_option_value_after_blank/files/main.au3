Func Used()
EndFunc
Used()
