#include-once

Func _Log_Write($s)
    ConsoleWrite($s & @CRLF)
    Call("_Log_ByName")
EndFunc

Func _Log_ByName()
EndFunc

Func _Log_Never()
EndFunc
