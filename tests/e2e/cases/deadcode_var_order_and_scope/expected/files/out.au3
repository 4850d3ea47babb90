Local $d = 1
Func One()
	Local $i = 0
EndFunc
Func Two()
	Local $i = 1
EndFunc
Global $list = [1, 2],
