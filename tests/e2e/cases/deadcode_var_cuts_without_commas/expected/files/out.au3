Local $x = $y
Local   $t = 3
Local  $n = 2
MsgBox(0, '', $x & $t & $n)
