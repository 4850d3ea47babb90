Func Greet($n)
    Return "hi " & $n ; greeting
EndFunc
Func Unused()
EndFunc
