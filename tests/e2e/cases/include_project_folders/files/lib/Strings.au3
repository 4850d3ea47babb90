#include-once
#include "StringConstants.au3"

Func _Str_Upper($s)
	Return StringUpper($s)
EndFunc

Func _Str_Lower($s)
	Return StringLower($s)
EndFunc
