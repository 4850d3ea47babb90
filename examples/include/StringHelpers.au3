#include-once
; String helpers: only some of them are used by any one script.

Func _Greeting($sWho)
    Return "Hello, " & _Trimmed($sWho) & "!"
EndFunc

Func _Trimmed($s)
    Return StringStripWS($s, 3)
EndFunc

; Called only from OldMain, so it goes in the second run.
Func _Shout($s)
    Return StringUpper($s) & "!"
EndFunc

Func _Reverse($s)
    Local $sOut = ""
    For $i = StringLen($s) To 1 Step -1
        $sOut &= StringMid($s, $i, 1)
    Next
    Return $sOut
EndFunc
