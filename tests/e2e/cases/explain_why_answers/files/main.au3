; au3shrink: keep Plugin_*
#include "lib\util.au3"
Global $g_hGui = GUICreate("t"), $g_iUnused = 5, $g_sTitle = "x"
Main()
GUICtrlSetOnEvent(-1, "_OnClose")
Call("_On_" & $g_sTitle)
Func Main()
	_Util_Log($g_sTitle)
EndFunc
Func _OnClose()
EndFunc
Func _On_Open()
EndFunc
Func Plugin_Load()
EndFunc
Func _OnlyDead()
EndFunc
Func _Dead()
	_OnlyDead()
EndFunc
Func _A()
	_B()
EndFunc
Func _B()
	_A()
EndFunc
