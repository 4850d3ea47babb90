; main script
#include "lib.au3"
Func Main()
    Local $used = 1, $spare = 2
    ConsoleWrite(Greet($used))
EndFunc
Main()
