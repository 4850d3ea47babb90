Local $a = 1 + _
    2 + _
    3
Local $b = _
_
4
MsgBox(0, "title", _ ; the title
       "text")
Local $e = $total_
Local $f = 7 _

Local $g = 1 +	_	 
1
Local $h = 9 _
