Global Const $TITLE = "Demo; v1"
Global $aItems[3] = ["a",                      "b",                      "c"]
For $i = 0 To 2
	ConsoleWrite($TITLE & ": " & $aItems[$i] & @CRLF)
Next
