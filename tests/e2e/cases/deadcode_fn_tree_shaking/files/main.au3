; au3shrink: keep _Kept*
Main()
Call("_On_" & $g_sEvent)
_Host()
_Pair()
Func Main()
	_CallA(1)
	_Say("hello")
EndFunc
Func _CallA($n)
	If $n > 0 Then _CallB($n - 1)
EndFunc
Func _CallB($n)
	_CallA($n)
EndFunc
Func _Say($s)
	AdlibRegister("_OnSaid")
	ConsoleWrite($s)
EndFunc
Func _OnSaid()
EndFunc
Func _Walk($sDir)
	_Walk($sDir & "\sub")
	_OpenFile($sDir)
EndFunc
Func _OpenFile($s)
EndFunc
Func _DeadA()
	_DeadB()
	AdlibRegister("_OnDead")
EndFunc
Func _DeadB()
	_DeadA()
EndFunc
Func _OnDead()
EndFunc
Func _KeptA()
	_KeptB()
EndFunc
Func _KeptB()
	_KeptA()
EndFunc
Func _On_Open()
	_BuiltB()
EndFunc
Func _BuiltB()
	_On_Open()
EndFunc
Func _Host()
	_HostCall()
Func _Guest()
	_FromGuest()
EndFunc
Func _HostCall()
EndFunc
Func _FromGuest()
EndFunc
Func _Pair()
EndFunc
Func _Pair()
EndFunc
Func _Twin()
EndFunc
Func _Twin()
EndFunc
