; A library: what nothing names here is no handler of the user's.
Func _Str_Trim($s)
	Return _Str_Inner($s)
EndFunc
Func _Str_Inner($s)
	Return $s
EndFunc
