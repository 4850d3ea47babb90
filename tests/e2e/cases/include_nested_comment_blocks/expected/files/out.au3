Func B()
EndFunc
#ce outer: an ordinary line now
Func Open()
EndFunc
Done()
