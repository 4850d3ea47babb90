; note about the sum _
Local $sum = 1 + _
	2 + _  
	3 ; three
#Region helpers
Local $total_
Local $n = 1
#EndRegion
