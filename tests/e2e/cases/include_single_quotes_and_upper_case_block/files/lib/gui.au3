Func Gui()
EndFunc
