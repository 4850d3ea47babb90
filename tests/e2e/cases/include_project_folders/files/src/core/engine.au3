#include-once
#include "util.au3"

Func Engine_Start()
	Return Util_Name()
EndFunc
