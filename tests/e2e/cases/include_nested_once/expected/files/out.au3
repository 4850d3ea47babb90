; main script
Global Const $CFG = 2
Func Helper()
EndFunc
Global $x = 1
Main()
