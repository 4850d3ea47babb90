; au3shrink: keep Lib_On*, Lib_Typo
Func Lib_Init()
	Return 1
EndFunc

Func Lib_OnExit()
EndFunc

Func Lib_Spare()
EndFunc
