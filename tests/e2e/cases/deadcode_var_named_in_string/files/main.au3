; Variables reached only through their names in strings
Global $g_sTitle = "Main window", $g_iUnused = 0
Global $g_hTimer = 0
Local $sCount = 3, $sSpare = 4
Local $x = 1
Local $ax = 2

If IsDeclared("g_sTitle") Then ConsoleWrite(Eval("g_sTitle") & @CRLF)
Assign('sCount', Eval( 'SCOUNT' ) + 1)
If IsDeclared("g_hTimer ") Then Exit ; a blank inside the quotes is dropped
ConsoleWrite("ax" & " x y" & @CRLF) ; "x" only inside longer strings
