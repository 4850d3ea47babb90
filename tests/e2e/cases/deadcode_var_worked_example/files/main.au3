Global $g = 1, $spare = 2
Local $x = 1, $y = 2, $z = 3
Local $tmp = 0, $n = 5
Dim $old = 'a,b'
MsgBox(0, '', $x & $z & $g & $n)
