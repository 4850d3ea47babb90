#include-once
Func Util_Name()
	Return "engine"
EndFunc
