Global Const $tagBLENDFUNCTION = "byte Op;byte Flags;byte Alpha;byte Format"
FuncEnter("start")
GUISetOnEvent(-3, _OnClose)
GUICtrlSetOnEvent($idButton, 'OnClick')
Func FuncEnter($sText)
	ConsoleWrite($sText & @CRLF)
EndFunc
Func _OnClose()
	Exit
EndFunc
func OnClick()
	Return Fib(10)
EndFunc
Func Fib($n)
	If $n < 2 Then Return $n
	Return Fib($n - 1) + Fib($n - 2)
EndFunc
Func Spare($n)
	Return Spare($n)
EndFunc
