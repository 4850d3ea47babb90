Func X_Lib()
	Return "lib"
EndFunc
ConsoleWrite("use")
Func X_Sub()
	Return "sub"
EndFunc
ConsoleWrite(X_Lib() & X_Sub())
