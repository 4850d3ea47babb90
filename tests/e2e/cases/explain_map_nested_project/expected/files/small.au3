Func _Log_Write($s)
    ConsoleWrite($s & @CRLF)
    Call("_Log_ByName")
EndFunc
Func _Log_ByName()
EndFunc
Func _Util_Log($s)
    _Log_Write($s)
EndFunc
Func _Util_Kept()
EndFunc
Func _Form_Show($sText)
    _Util_Log($sText)
EndFunc
Global $g_iUsed = 1, $g_iAlso = 3
Local $sTitle = "Demo " &     "window " &     "title"
_Form_Show($sTitle & $g_iUsed & $g_iAlso)
