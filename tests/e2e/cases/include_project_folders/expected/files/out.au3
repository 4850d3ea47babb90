Func Util_Name()
	Return "engine"
EndFunc
Func Engine_Start()
	Return Util_Name()
EndFunc
Func Window_Show($sText)
	ConsoleWrite(_Str_Upper($sText) & @CRLF)
EndFunc
Func _Str_Upper($s)
	Return StringUpper($s)
EndFunc
Func App_Run()
	Window_Show(Engine_Start())
EndFunc
App_Run()
