Func Greet($n)
    Return "hi " & $n
EndFunc
Func Main()
    Local $used = 1
    ConsoleWrite(Greet($used))
EndFunc
Main()
