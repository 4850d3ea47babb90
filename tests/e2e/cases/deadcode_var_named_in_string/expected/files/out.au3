Global $g_sTitle = "Main window"
Global $g_hTimer = 0
Local $sCount = 3
Local $ax = 2
If IsDeclared("g_sTitle") Then ConsoleWrite(Eval("g_sTitle") & @CRLF)
Assign('sCount', Eval( 'SCOUNT' ) + 1)
If IsDeclared("g_hTimer ") Then Exit
ConsoleWrite("ax" & " x y" & @CRLF)
