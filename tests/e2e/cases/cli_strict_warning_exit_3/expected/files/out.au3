Func Used()
EndFunc
Used()
