Global $g_hWnd = 0, $g_iSpare = 1
Global $cfg_sTitle = "x", $cfg_iWidth = 5
Global $tmp = 3
Func Main_Loop()
	Return Step()
EndFunc
Func Step()
	Return Deeper()
EndFunc
Func Deeper()
	Return 1
EndFunc
Func Cb_Timer()
EndFunc
Func CB_KEY()
EndFunc
Func Helper()
EndFunc
Func HelperX()
EndFunc
Func Unused()
EndFunc
