Global $g_sHandler = "_On_Open"
Func _Events_Fire($sEvent)
	Call($g_sHandler, $sEvent)
EndFunc
Global $g_sOnClose = "_On_Close"
_Events_Fire("open")
GUISetOnEvent(-3, $g_sOnClose)
Func _On_Open($e)
EndFunc
Func _On_Close()
EndFunc
