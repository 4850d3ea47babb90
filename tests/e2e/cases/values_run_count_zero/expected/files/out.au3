Func Main()
    ConsoleWrite("hi" & @CRLF) ; greet
EndFunc
Func Unused()
EndFunc
Local $iSpare = 1, $sUsed = "x"
Main()
ConsoleWrite($sUsed)
