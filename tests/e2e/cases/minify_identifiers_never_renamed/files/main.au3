#OnAutoItStartRegister "Init"
; Names that must keep their names, beside names that may change.
Global $g_hMainWindow = GUICreate("Demo")
Global $sTemplate = "Hello $sUser$ from $g_hMainWindow$"
Global $sUser = "me", $x = 1, $CmdLineCopy = $CmdLine
Global $iCounter = 0, $ICOUNTER_TWIN = 2
HotKeySet("{ESC}", "OnEscape")
GUISetOnEvent(-3, _OnClose)
Local $oDict = ObjCreate("Scripting.Dictionary")
$oDict.Add("key", $iCounter)
$oDict.Item("key") = $oDict.Count
With $oDict
    .RemoveAll()
EndWith
Local $vRead = Eval("x")
Execute("ShowValue($iCounter)")
Local $a = 5, $b = 6
ConsoleWrite($a + $b + $icounter + $IcOuNtEr & @CRLF)
_DoWork($iCounter)
_dowork($ICounter)
Func Init()
EndFunc
Func OnEscape()
    Exit
EndFunc
Func _OnClose()
    Exit
EndFunc
Func ShowValue($v)
    ConsoleWrite($v & @CRLF)
EndFunc
Func _DoWork($iValue)
    Local $iResult = $iValue * 2
    Return $iResult + StringLen("a b c d")
EndFunc
