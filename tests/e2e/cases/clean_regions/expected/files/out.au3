Local $a = 1 ; #Region after code stays
#Regio incomplete
