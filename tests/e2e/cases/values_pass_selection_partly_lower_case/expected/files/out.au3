Func Main()
    ConsoleWrite("hi" & @CRLF)
EndFunc
Func Unused()
EndFunc
Local  $sUsed = "x"
Main()
ConsoleWrite($sUsed)
