; A small event library of the user's: handlers are registered by name.
Global $g_sHandler = "_On_Open"
Func _Events_Fire($sEvent)
	Call($g_sHandler, $sEvent)
EndFunc
