Func Main()
	Return "the decoy the folder search would find"
EndFunc
