Func _List_RegisterSort($sCompare)
	Return DllCallbackRegister($sCompare, "int", "int;int;hwnd")
EndFunc
Func _List_Compare($a, $b, $h)
	Return $a - $b
EndFunc
Local $hCb = _List_RegisterSort("_List_Compare")
MsgBox(0, "", $hCb)
