; --why reads the line that keeps a function after the renamer has
; rewritten every line: a callback named in a string, one called.
GUISetOnEvent(-3, "_OnClose")
_Click()

Func _OnClose()
    Exit
EndFunc

Func _Click()
    Local $sText = "clicked"
    ConsoleWrite($sText & @CRLF)
EndFunc

Func _Unused()
    _Click()
EndFunc
