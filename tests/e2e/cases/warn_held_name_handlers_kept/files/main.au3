#include <Strings.au3>
#include "Events.au3"
Global $g_sOnClose = "_On_Close"
_Events_Fire("open")
GUISetOnEvent(-3, $g_sOnClose)
Func _On_Open($e)
EndFunc
Func _On_Close()
EndFunc
Func _On_Save($e)
EndFunc
Func _On_Quit($e)
EndFunc
