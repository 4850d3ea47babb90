#cs ----------------------------------------------------------------------------
 AutoIt Version: 3.3.16
 Author:         someone
#ce ----------------------------------------------------------------------------

#Region Settings
Global Const $TITLE = "Demo; v1" ; window title
Global $aItems[3] = ["a", _   ; first
                     "b", _
                     "c"]
#EndRegion Settings

; main loop
For $i = 0 To 2
	ConsoleWrite($TITLE & ": " & $aItems[$i] & @CRLF)   
Next