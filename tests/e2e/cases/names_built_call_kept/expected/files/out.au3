Global $g_aEvents[3] = ["Connect", "Message", "Quit"]
For $i = 0 To 2
	Dispatch($g_aEvents[$i])
Next
Func Dispatch($sEvent)
	If Not Call("_On_" & $sEvent) Then ConsoleWrite("Error: " & $sEvent & @CRLF)
EndFunc
Func _On_Connect()
	ConsoleWrite("connected" & @CRLF)
	Return Log_Line("connect")
EndFunc
Func _On_Message()
	Return Log_Line("message")
EndFunc
Func _On_Quit()
	Exit
EndFunc
Func Log_Line($s)
	ConsoleWrite($s & @CRLF)
	Return True
EndFunc
