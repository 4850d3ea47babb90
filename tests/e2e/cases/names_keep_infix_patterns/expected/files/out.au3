Func GetNoxBackgroundMode()
EndFunc
Func Btn_Handler()
EndFunc
Func OnOkClicked()
EndFunc
