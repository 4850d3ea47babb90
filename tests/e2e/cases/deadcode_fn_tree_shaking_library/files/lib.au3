; au3shrink: tree-shaking
Global $g_iCount = 0
Func _Lib_Open($s)
	$g_iCount += 1
	Return _Lib_Read($s)
EndFunc
Func _Lib_Read($s)
	Return _Lib_Open($s)
EndFunc
Func _Lib_Count()
	Return $g_iCount
EndFunc
