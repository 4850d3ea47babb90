Local $x = 1
ConsoleWrite($x)
