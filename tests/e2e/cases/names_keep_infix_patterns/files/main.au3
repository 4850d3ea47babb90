Func GetNoxBackgroundMode()
EndFunc
Func GetBackgroundModes()
EndFunc
Func Btn_Handler()
EndFunc
Func OnOkClicked()
EndFunc
Func OnOk()
EndFunc
