Global $a="Window"
a()
Func a()
For $b=1 To 3
b($a&" "&$b)
Next
EndFunc
Func b($c)
ConsoleWrite($c&@CRLF)
EndFunc
