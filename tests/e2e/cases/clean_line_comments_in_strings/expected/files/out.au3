Local $a = "x;y"
Local $b = 'it''s; fine'
Local $c = "say 'hi; there'"
Local $d = "a "" quote; inside"
MsgBox(0, "open ; string
$e = 1
