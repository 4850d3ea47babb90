Func Unused()
EndFunc
MsgBox(0, "kept", 1)
