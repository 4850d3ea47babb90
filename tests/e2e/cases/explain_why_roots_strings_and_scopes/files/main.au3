Func B()
	C()
EndFunc
Func A()
	B()
EndFunc
Func C()
EndFunc
GUISetOnEvent(-3, 'OnClose')
Func OnClose()
EndFunc
Func F1()
	Local $x = 1
	Return $x
EndFunc
Func F2()
	Local $x = 2
	Return $x
EndFunc
Func Kept()
EndFunc
F1()
F2()
Local $hGui = GUICreate("t")
GUISetState(@SW_SHOW, $hGui)
Local $hOther = GUICreate("u")
Global $g_unused = 1
