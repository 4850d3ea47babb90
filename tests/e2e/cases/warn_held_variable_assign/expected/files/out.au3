Global $g_iWidth = 0, $iUsed = 1
Func SetOption($sName, $vValue)
	Assign($sName, $vValue)
EndFunc
SetOption("g_iWidth", $iUsed)
If IsDeclared($sOther) Then Exit
