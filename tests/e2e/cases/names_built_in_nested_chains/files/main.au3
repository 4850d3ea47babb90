Global $vector1 = 10, $vector2 = 20, $spare = 0
Func SendOn()
	Return "on"
EndFunc
Func SendOff()
	Return "off"
EndFunc
Func Attack()
	For $j = 1 To 2
		Execute("$" & Eval("vector" & $j))
	Next
EndFunc
Attack()
$x = "Off"
ConsoleWrite("Result: " & Call("Send" & $x & "on"))
