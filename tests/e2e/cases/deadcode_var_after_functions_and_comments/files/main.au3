#Region globals
Global $cfg = 1, $keep = 2 ; the settings
Global $big = _
    "x"
#EndRegion
Func Main()
	MsgBox(0, "", $keep)
EndFunc
Func Unused()
	Return $cfg + $big
EndFunc
Main()
