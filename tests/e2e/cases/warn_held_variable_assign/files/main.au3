Global $g_iWidth = 0, $g_iHeight = 0, $iUsed = 1
Func Helper()
EndFunc
Func SetOption($sName, $vValue)
	Assign($sName, $vValue)
EndFunc
SetOption("g_iWidth", $iUsed)
If IsDeclared($sOther) Then Exit
