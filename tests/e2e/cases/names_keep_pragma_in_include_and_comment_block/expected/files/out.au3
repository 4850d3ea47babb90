Func Lib_Init()
	Return 1
EndFunc
Func Lib_OnExit()
EndFunc
Global $g_bDebug = False
Lib_Init()
