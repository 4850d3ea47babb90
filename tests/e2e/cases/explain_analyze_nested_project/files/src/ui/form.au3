#include-once
#include "..\core\util.au3"

; Shows the form
Func _Form_Show($sText)
    _Util_Log($sText)
EndFunc

Func _Form_Hide()
    _Util_Trace("hide")
EndFunc
