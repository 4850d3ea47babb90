Local $a = 1
Local $b = 2
