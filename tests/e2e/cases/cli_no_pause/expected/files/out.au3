Func Main()
    ConsoleWrite("hi" & @CRLF)
EndFunc
Local  $sUsed = "x"
Main()
ConsoleWrite($sUsed)
