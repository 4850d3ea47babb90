Global $g_sKeptSetting = "on", $b = 1
Global $a = "Open"
Call("_On_" & $a)
Local $f = Eval("g_cfg_" & $a)
Global $g_cfg_Open = 3, $c = 4
_Public_Api($b)
Func _On_Open()
    ConsoleWrite("open" & @CRLF)
EndFunc
Func _On_Close()
EndFunc
Func _Public_Api($d)
    Return a($d)
EndFunc
Func a($e)
    Return $e + $c
EndFunc
