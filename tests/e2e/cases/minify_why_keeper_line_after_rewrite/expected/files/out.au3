GUISetOnEvent(-3,"_OnClose")
a()
Func _OnClose()
Exit
EndFunc
Func a()
Local $a="clicked"
ConsoleWrite($a&@CRLF)
EndFunc
