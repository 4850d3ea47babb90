; au3shrink: keep $g_sKeptSetting
Global $g_sKeptSetting = "on", $g_iOther = 1
Global $sEvent = "Open"
Call("_On_" & $sEvent)
Local $vValue = Eval("g_cfg_" & $sEvent)
Global $g_cfg_Open = 3, $g_cfgClose = 4
_Public_Api($g_iOther)
Func _On_Open()
    ConsoleWrite("open" & @CRLF)
EndFunc
Func _On_Close()
EndFunc
Func _Public_Api($p)
    Return _Private_Helper($p)
EndFunc
Func _Private_Helper($q)
    Return $q + $g_cfgClose
EndFunc
