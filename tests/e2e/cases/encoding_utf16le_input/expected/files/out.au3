Func Greet($s)
	MsgBox(0, "Greeting", $s)
EndFunc
Local $sGreeting = "Grüße aus Köln – 3 € 😀"
Greet($sGreeting)
