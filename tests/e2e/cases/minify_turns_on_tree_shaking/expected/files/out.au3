Global $a=0
a()
Func a()
$a+=1
EndFunc
