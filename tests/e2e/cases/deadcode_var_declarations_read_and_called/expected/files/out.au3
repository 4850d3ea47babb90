Local $base = 10, $derived = $base + 1
Global $p = 2, $q[$p]
Local $w = 3, $h = 4, $area = $w * $h
Local  $keep = 2
Func Twice($n)
	Return $n * 2
EndFunc
Local $fn = Twice
Local $aF[1] = [Twice]
Local $r1 = $fn(1)
Local $r2 = $aF[0](2)
Local $r3 = 1 + $fn (3)
ConsoleWrite($derived & $q[1] & $area & $keep & @CRLF)
