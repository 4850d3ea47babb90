Func Quote()
EndFunc
