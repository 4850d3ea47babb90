Global $sTitle = "Report"
#CS Columns
Func OldColumns()
	Return "a,b"
#CE
Main()
#cs
Local $lost = 1
#CE
ShowTitle()
#comments-start outer
	#CS middle
		#cs inner
		Func Inner()
		#Comments-End inner
	Local $still = "comment"
	#ce middle
#COMMENTS-END ; outer
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
