Func _Util_Log($s)
	_Util_Write($s)
EndFunc
Func _Util_Write($s)
	ConsoleWrite($s)
EndFunc
