Func Word()
	Return "日本語"
EndFunc
Func Show()
	MsgBox(0, "Ελληνικά", Word())
EndFunc
Show()
