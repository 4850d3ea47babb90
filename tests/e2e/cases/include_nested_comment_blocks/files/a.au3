Func A()
EndFunc
