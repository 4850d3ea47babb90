Global $sTitle = "Report"
Main()
ShowTitle()
$s = "Use #cs to start a block"
Inner2() #cs not a marker after code
	#Ce stray closer: an ordinary line
#csv is a longer word, not a marker
Func Main()
	ConsoleWrite($sTitle & @CRLF)
EndFunc
Func ShowTitle()
	ConsoleWrite($s)
EndFunc
Func Inner2()
EndFunc
