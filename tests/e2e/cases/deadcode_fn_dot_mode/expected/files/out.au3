; sixty dead functions
Func Main()
EndFunc
Main()
