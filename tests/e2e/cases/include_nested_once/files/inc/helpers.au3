#include-once
#include "config.au3"
Func Helper()
EndFunc
