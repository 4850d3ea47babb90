Func Gui()
EndFunc
Func Quote()
EndFunc
Gui()
Quote()
