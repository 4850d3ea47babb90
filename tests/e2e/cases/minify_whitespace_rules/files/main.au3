#include-once
#NoTrayIcon   
  #cs
     block line   with   blanks   
  #ce
Local $a = 1, $b = 2   ; a comment   kept  as   written
Local $c = $a - -1, $d = $a + +1, $e = $a - +1
Local $f = $a < = $b, $g = $a > = $b, $h = $a = = $b, $i = $a < > $b
Local $j = 1 .5, $k = 1 . 5, $l = 0x1F And 2
$a + = 1
$a & = "x"
$s = "a   b" & 'c  ''  d' & "say ""hi""   there"
If $a Then ConsoleWrite( "x" ) ; why not
For $i = 1 To 10 Step 2
	Next
$o = ObjCreate ( "x" )
$o . Name = @ScriptDir & "\x"
$t = "a" "b"
    ; an indented comment
Func   _Main  ( $x , $y = Default )
	Return Not $x Or - $y
EndFunc
