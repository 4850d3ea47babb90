Global $vector1 = 10, $vector2 = 20
Func SendOn()
	Return "on"
EndFunc
Func Attack()
	For $j = 1 To 2
		Execute("$" & Eval("vector" & $j))
	Next
EndFunc
Attack()
$x = "Off"
ConsoleWrite("Result: " & Call("Send" & $x & "on"))
