Global $g = 1
Local $x = 1, $z = 3
Local  $n = 5
MsgBox(0, '', $x & $z & $g & $n)
