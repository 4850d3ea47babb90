Global $x = 1
Local $kept = 2
#ce this outer closer stays
Local $y = 3
MsgBox(0, "see
#CS upper case stays
Local $z = 4
Local $w = 6
