Func X_Lib()
	Return "lib"
EndFunc
