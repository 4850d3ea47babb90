Func Lib_Init()
	OnAutoItExitRegister("Lib_OnExit")
EndFunc
Func Lib_OnExit()
EndFunc
Global $g_bDebug = False
Lib_Init()
