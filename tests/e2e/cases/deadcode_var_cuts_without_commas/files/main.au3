Local $x = $y, $y = 2
Local $ab = 1, $a = 2
Local $p, $q
Local $r = 1, $s = 2, $t = 3
Local $m = $n + 1, $n = 2
MsgBox(0, '', $x & $t & $n)
