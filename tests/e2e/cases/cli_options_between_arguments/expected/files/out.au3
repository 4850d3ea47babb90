Func Main()
    ConsoleWrite("hi" & @CRLF) ; greet
EndFunc
Func Unused()
EndFunc
Local  $sUsed = "x"
Main()
ConsoleWrite($sUsed)
