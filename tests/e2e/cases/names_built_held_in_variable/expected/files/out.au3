Global $g_sPrefix = "_On_"
Global $g_aHandlers[2] = ["_On_Open", "_On_Close"]
If @Compiled Then $g_sPrefix = "_Ev_"
Func _Fire($fCallbackName, $socket)
	Call($fCallbackName, $socket)
EndFunc
_Fire($g_aHandlers[0], 1)
GUICtrlSetOnEvent(1, $g_aHandlers[1])
Call($g_sPrefix & "Open")
Func _On_Open($s)
EndFunc
Func _On_Close()
EndFunc
