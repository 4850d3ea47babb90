; au3shrink: keep Lib_On*
Func Lib_Init()
	Return 1
EndFunc

Func Lib_OnExit()
EndFunc

Func Lib_Spare()
EndFunc
