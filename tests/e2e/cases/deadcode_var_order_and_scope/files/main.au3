Local $a = $b
Local $b = 1
Local $d = 1
Local $c = $d
Func One()
	Local $i = 0
EndFunc
Func Two()
	Local $i = 1
EndFunc
Global $list = [1, 2],
