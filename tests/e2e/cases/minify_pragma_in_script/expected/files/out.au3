Global $a="Hi"
a($a)
Func a($b)
ConsoleWrite($b&@CRLF)
EndFunc
