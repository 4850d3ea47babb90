Func Hidden()
EndFunc
