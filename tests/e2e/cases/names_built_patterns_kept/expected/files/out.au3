Global Const $EMU_PREFIX = "Emu_"
Global $g_sEmu = "BlueStacks", $g_vecA = 1, $g_vecB = 2
Global $oIE = ObjCreate("Shell.Explorer.2")
Global $oEvents = ObjEvent($oIE, "IE_")
Execute("Get" & $g_sEmu & "Mode()")
Call($EMU_PREFIX & "Start")
ConsoleWrite(Eval("g_vec" & $g_sEmu) & @CRLF)
Local $sLog = "Report_" & @YEAR & ".txt"
FileWrite($sLog, "Error: " & $g_sEmu)
Dispatch("Is" & $g_sEmu & "CommandLine")
Func Dispatch($s)
	ConsoleWrite($s & @CRLF)
EndFunc
Func GetBlueStacksMode()
EndFunc
Func GetNoxMode()
EndFunc
Func Emu_Start()
EndFunc
Func IE_BeforeNavigate2($a)
EndFunc
