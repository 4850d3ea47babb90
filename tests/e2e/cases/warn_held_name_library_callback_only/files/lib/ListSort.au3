; A library's list sort: its callback is registered by a name in a variable.
Func _List_RegisterSort($sCompare)
	Return DllCallbackRegister($sCompare, "int", "int;int;hwnd")
EndFunc
Func _List_Compare($a, $b, $h)
	Return $a - $b
EndFunc
Func _List_Unused()
EndFunc
