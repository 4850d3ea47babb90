#include "lib.au3"
#cs
	Settings read by name at run time:
	; au3shrink: keep $g_bDebug
#ce
Global $g_bDebug = False, $g_iOther = 1
Lib_Init()
