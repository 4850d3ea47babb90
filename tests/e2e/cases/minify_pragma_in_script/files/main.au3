; The script asks to be minified itself.
; au3shrink: minify
Global $g_sGreeting = "Hi"
_SayHello($g_sGreeting)
Func _SayHello($sText)
    ConsoleWrite($sText & @CRLF)
EndFunc
