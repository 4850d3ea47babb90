; A small settings window: the handles are never read again, but the calls
; that make them must still run.
#include <GUIConstantsEx.au3>
Opt("GUIOnEventMode", 1)
Global Const $STYLE_FLAGS = BitOR(1, 2)
Global $oErr = ObjEvent("AutoIt.Error", "_OnComError")
Local $hGui = GUICreate("Settings", 200, 100)
Local $idMenu = GUICtrlCreateMenu("File"), $idOpen = GUICtrlCreateMenuItem("Open", -1)
GUICtrlSetOnEvent(-1, "_OnOpen")
Local $idBtn = GUICtrlCreateButton("Close", 10, 10)
GUICtrlSetOnEvent(-1, "_OnClose")
Local $a = 1, $b = MsgBox(0, "t", "x"), $c = 3
Local $oShell = ObjCreate("Shell.Application")
Local $vWindows = $oShell.Windows(), $iLen = StringLen("abc")
GUISetState(@SW_SHOW)

Func _OnComError()
EndFunc
Func _OnOpen()
EndFunc
Func _OnClose()
  Exit
EndFunc
