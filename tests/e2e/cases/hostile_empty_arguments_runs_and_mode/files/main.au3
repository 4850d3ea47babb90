Func Unused()
EndFunc
Local $spare = 1
x = 1
