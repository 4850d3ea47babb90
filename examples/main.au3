; Demo script for au3shrink: a small greeter with a settings file.
#include-once
#include <StringHelpers.au3>
#include "settings.au3"

#Region Main program
Global $g_sTitle = "Greeter", $g_iUnused = 42
Local $sName = "World" ; who to greet

#cs
  Everything in this block is documentation only.
  It goes away with the comment pass.
#ce

Main($sName)
#EndRegion

Func Main($sWho)
    Local $sText = _Greeting($sWho), _
          $iLength = StringLen($sText)
    ConsoleWrite($g_sTitle & ": " & $sText & " (" & $iLength & " chars, delay " & $SETTINGS_DELAY & ")" & @CRLF)
EndFunc   ;==>Main

Func OldMain()
    ; superseded by Main, kept by accident
    ConsoleWrite(_Shout("old") & @CRLF)
EndFunc   ;==>OldMain
