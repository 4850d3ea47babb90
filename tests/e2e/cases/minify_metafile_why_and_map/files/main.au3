; A small program in one file.
Global $g_sTitle = "Window"

_Main()

Func _Main()
    For $iCount = 1 To 3
        _Print($g_sTitle & " " & $iCount)
    Next
EndFunc

Func _Print($sLine)
    ConsoleWrite($sLine & @CRLF)
EndFunc
