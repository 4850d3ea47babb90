Func Main()
	Return "found by its whole path"
EndFunc
Main()
