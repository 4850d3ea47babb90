#include "lib/log.au3"
; a comment line
Local $msg = "first " & _
	"second"
ConsoleWrite($msg & " at " & @ScriptLineNumber & @CRLF)
#cs
	ConsoleWrite(@ScriptLineNumber)
#ce
ConsoleWrite("@ScriptLineNumber stays in a string: " & @scriptlinenumber & @CRLF)
ConsoleWrite("from the library: " & _Here() & @CRLF)
