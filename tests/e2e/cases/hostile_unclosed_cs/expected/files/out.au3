$x = 1
Local $y = 2
