; header comment
Local $a = "x;y" ; trailing
Local $b = 'it''s; fine'   ; doubled apostrophe
Local $c = "say 'hi; there'" ;c
Local $d = "a "" quote; inside" ; c
MsgBox(0, "open ; string
$e = 1;no space
