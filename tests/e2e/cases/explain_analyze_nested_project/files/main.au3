; Demo project: a window, its helpers, and what the shrinker leaves of them
#include "ui\form.au3"
#include <core\util.au3>

Global $g_iUsed = 1, $g_iUnused = 2, $g_iAlso = 3
Global $g_sNever = "never read"
Local $sTitle = "Demo " & _
    "window " & _
    "title"

_Form_Show($sTitle & $g_iUsed & $g_iAlso)

Func _Main_Unused()
    _Util_OnlyFromDeleted()
EndFunc
