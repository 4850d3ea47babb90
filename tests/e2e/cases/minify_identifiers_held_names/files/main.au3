; A handler called by a name held in a variable, and a variable read by one.
Global $g_sHandler = "_Handler_" & Random(1, 2, 1)
Global $g_iLimit = 10
Call($g_sHandler)
_ReadSetting("g_iLimit")
_Compute(2)
Func _Handler_1()
    ConsoleWrite("one" & @CRLF)
EndFunc
Func _Handler_2()
    ConsoleWrite("two" & @CRLF)
EndFunc
Func _ReadSetting($sName)
    Local $vLocalCopy = Eval($sName)
    Return $vLocalCopy
EndFunc
Func _Compute($iInput)
    Local $iSquare = $iInput * $iInput
    Return $iSquare + $g_iLimit
EndFunc
