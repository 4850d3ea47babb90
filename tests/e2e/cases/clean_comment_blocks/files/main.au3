Global $x = 1
#cs
  old code
  #cs nested
  still comment
#ce
Local $kept = 2
#ce this outer closer stays
#comments-start
#ce does not close this
#comments-end trailing text
Local $y = 3 #cs opens here
gone #ce
MsgBox(0, "see #cs here")
Local $lost = 5
#ce
#CS upper case stays
Local $z = 4 ; #cs in a comment
Local $w = 6
