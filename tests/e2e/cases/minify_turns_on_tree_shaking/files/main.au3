; Two functions that only call each other: only tree shaking finds them unused.
Global $g_iTicks = 0
_Tick()

Func _Tick()
    $g_iTicks += 1
EndFunc

Func _Ping($iDepth)
    Return _Pong($iDepth - 1)
EndFunc

Func _Pong($iDepth)
    If $iDepth > 0 Then Return _Ping($iDepth)
EndFunc
