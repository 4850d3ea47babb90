; Logging helpers.
Func _Here()
	; a comment before it
	Return 4
EndFunc
; a comment line
Local $msg = "first " & 	"second"
ConsoleWrite($msg & " at " & 5 & @CRLF)
#cs
	ConsoleWrite(@ScriptLineNumber)
#ce
ConsoleWrite("@ScriptLineNumber stays in a string: " & 9 & @CRLF)
ConsoleWrite("from the library: " & _Here() & @CRLF)
