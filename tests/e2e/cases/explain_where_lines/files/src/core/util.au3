#include-once
#include <deep\deeper\log.au3>
; au3shrink: keep _Util_Kept

Func _Util_Log($s)
    _Log_Write($s)
EndFunc

Func _Util_Trace($s)
    ConsoleWrite("trace: " & $s & @CRLF)
EndFunc

Func _Util_OnlyFromDeleted()
    Return 0
EndFunc

Func _Util_Kept()
EndFunc
