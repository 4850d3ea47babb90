Opt("GUIOnEventMode", 1)
Global $oErr = ObjEvent("AutoIt.Error", "_OnComError")
Local $hGui = GUICreate("Settings", 200, 100)
Local $idMenu = GUICtrlCreateMenu("File"), $idOpen = GUICtrlCreateMenuItem("Open", -1)
GUICtrlSetOnEvent(-1, "_OnOpen")
Local $idBtn = GUICtrlCreateButton("Close", 10, 10)
GUICtrlSetOnEvent(-1, "_OnClose")
Local  $b = MsgBox(0, "t", "x")
Local $oShell = ObjCreate("Shell.Application")
Local $vWindows = $oShell.Windows()
GUISetState(@SW_SHOW)
Func _OnComError()
EndFunc
Func _OnOpen()
EndFunc
Func _OnClose()
  Exit
EndFunc
