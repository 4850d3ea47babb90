; note about the sum Local $sum = 1 + 	2 + 	3 ; three
Local $total_
Local $n = 1
