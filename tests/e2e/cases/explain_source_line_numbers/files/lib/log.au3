; Logging helpers.
Func _Here()
	; a comment before it
	Return @ScriptLineNumber
EndFunc
