Local $a = 1 +     2 +     3
Local $b = 4
MsgBox(0, "title",        "text")
Local $e = $total_
Local $f = 7 
Local $g = 1 +	1
Local $h = 9 
