#include-once
; the window needs the engine, one folder up and across
#include "..\core\engine.au3"

Func Window_Show($sText)
	ConsoleWrite(_Str_Upper($sText) & @CRLF)
EndFunc

Func Window_Hide()
EndFunc
