Func Main()
    ConsoleWrite("hi" & @CRLF)
EndFunc
Local $iSpare = 1, $sUsed = "x"
Main()
ConsoleWrite($sUsed)
