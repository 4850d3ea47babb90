; au3shrink: no-warn held-name, keep-unmatched
Func _On_Quit()
EndFunc
Call($sHandler)
