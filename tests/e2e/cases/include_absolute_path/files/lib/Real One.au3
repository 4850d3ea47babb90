Func Main()
	Return "the real file"
EndFunc
