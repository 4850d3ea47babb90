Func A()
EndFunc
#comments-end
Func Open()
EndFunc
Done()
