Func Extra()
EndFunc
