Func B()
EndFunc
