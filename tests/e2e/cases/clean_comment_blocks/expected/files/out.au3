Global $x = 1
#comments-end trailing text
Local $y = 3 #cs opens here
gone #ce
MsgBox(0, "see #cs here")
Local $lost = 5
#ce
