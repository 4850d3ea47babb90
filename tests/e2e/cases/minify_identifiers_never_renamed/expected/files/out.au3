#OnAutoItStartRegister "Init"
Global $g_hMainWindow = GUICreate("Demo")
Global $i = "Hello $sUser$ from $g_hMainWindow$"
Global $sUser = "me", $x = 1, $j = $CmdLine
Global $iCounter = 0, $k = 2
HotKeySet("{ESC}", "OnEscape")
GUISetOnEvent(-3, f)
Local $e = ObjCreate("Scripting.Dictionary")
$e.Add("key", $iCounter)
$e.Item("key") = $e.Count
With $e
    .RemoveAll()
EndWith
Local $l = Eval("x")
Execute("ShowValue($iCounter)")
Local $a = 5, $b = 6
ConsoleWrite($a + $b + $icounter + $IcOuNtEr & @CRLF)
e($iCounter)
e($ICounter)
Func Init()
EndFunc
Func OnEscape()
    Exit
EndFunc
Func f()
    Exit
EndFunc
Func ShowValue($f)
    ConsoleWrite($f & @CRLF)
EndFunc
Func e($g)
    Local $h = $g * 2
    Return $h + StringLen("a b c d")
EndFunc
