Local $x = $y, $y = 2
Local   $t = 3
Local  $n = 2
MsgBox(0, '', $x & $t & $n)
