Func X_Sub()
	Return "sub"
EndFunc
