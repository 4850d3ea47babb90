Global  $keep = 2
Func Main()
	MsgBox(0, "", $keep)
EndFunc
Main()
