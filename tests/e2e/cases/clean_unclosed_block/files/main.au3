Local $a = 1
Local $b = 2 ; keep, #cs inside a comment
#cs never closed
Local $c = 3
#comments-endless

Local $d = 4
