; sixty dead functions
Func F1()
EndFunc
Func F2()
EndFunc
Func F3()
EndFunc
Func F4()
EndFunc
Func F5()
EndFunc
Func F6()
EndFunc
Func F7()
EndFunc
Func F8()
EndFunc
Func F9()
EndFunc
Func F10()
EndFunc
Func F11()
EndFunc
Func F12()
EndFunc
Func F13()
EndFunc
Func F14()
EndFunc
Func F15()
EndFunc
Func F16()
EndFunc
Func F17()
EndFunc
Func F18()
EndFunc
Func F19()
EndFunc
Func F20()
EndFunc
Func F21()
EndFunc
Func F22()
EndFunc
Func F23()
EndFunc
Func F24()
EndFunc
Func F25()
EndFunc
Func F26()
EndFunc
Func F27()
EndFunc
Func F28()
EndFunc
Func F29()
EndFunc
Func F30()
EndFunc
Func F31()
EndFunc
Func F32()
EndFunc
Func F33()
EndFunc
Func F34()
EndFunc
Func F35()
EndFunc
Func F36()
EndFunc
Func F37()
EndFunc
Func F38()
EndFunc
Func F39()
EndFunc
Func F40()
EndFunc
Func F41()
EndFunc
Func F42()
EndFunc
Func F43()
EndFunc
Func F44()
EndFunc
Func F45()
EndFunc
Func F46()
EndFunc
Func F47()
EndFunc
Func F48()
EndFunc
Func F49()
EndFunc
Func F50()
EndFunc
Func F51()
EndFunc
Func F52()
EndFunc
Func F53()
EndFunc
Func F54()
EndFunc
Func F55()
EndFunc
Func F56()
EndFunc
Func F57()
EndFunc
Func F58()
EndFunc
Func F59()
EndFunc
Func F60()
EndFunc
Func Main()
EndFunc
Main()
