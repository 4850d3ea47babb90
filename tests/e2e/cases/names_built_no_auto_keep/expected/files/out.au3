Global $g_aEvents[3] = ["Connect", "Message", "Quit"]
For $i = 0 To 2
	Dispatch($g_aEvents[$i])
Next
Func Dispatch($sEvent)
	If Not Call("_On_" & $sEvent) Then ConsoleWrite("Error: " & $sEvent & @CRLF)
EndFunc
