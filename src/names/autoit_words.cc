// The lists of AutoIt's keywords and built-in functions, and the look-ups in
// them.
#include "names/autoit_words.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "script/normalize.h"

namespace {

// AutoIt 3.3's keywords.
constexpr std::string_view kKeywords[] = {
    "And", "ByRef", "Case", "Const", "ContinueCase", "ContinueLoop", "Default", "Dim", "Do",
    "Else", "ElseIf", "EndFunc", "EndIf", "EndSelect", "EndSwitch", "EndWith", "Enum", "Exit",
    "ExitLoop", "False", "For", "Func", "Global", "If", "In", "Local", "Next", "Not", "Null",
    "Or", "ReDim", "Return", "Select", "Static", "Step", "Switch", "Then", "To", "True", "Until",
    "Volatile", "WEnd", "While", "With",
};

// AutoIt 3.3's built-in functions.
constexpr std::string_view kFunctions[] = {
    "Abs", "ACos", "AdlibRegister", "AdlibUnRegister", "Asc", "AscW", "ASin", "Assign", "ATan",
    "AutoItSetOption", "AutoItWinGetTitle", "AutoItWinSetTitle", "Beep", "Binary", "BinaryLen",
    "BinaryMid", "BinaryToString", "BitAND", "BitNOT", "BitOR", "BitRotate", "BitShift", "BitXOR",
    "BlockInput", "Break", "Call", "CDTray", "Ceiling", "Chr", "ChrW", "ClipGet", "ClipPut",
    "ConsoleRead", "ConsoleWrite", "ConsoleWriteError", "ControlClick", "ControlCommand",
    "ControlDisable", "ControlEnable", "ControlFocus", "ControlGetFocus", "ControlGetHandle",
    "ControlGetPos", "ControlGetText", "ControlHide", "ControlListView", "ControlMove",
    "ControlSend", "ControlSetText", "ControlShow", "ControlTreeView", "Cos", "Dec", "DirCopy",
    "DirCreate", "DirGetSize", "DirMove", "DirRemove", "DllCall", "DllCallAddress",
    "DllCallbackFree", "DllCallbackGetPtr", "DllCallbackRegister", "DllClose", "DllOpen",
    "DllStructCreate", "DllStructGetData", "DllStructGetPtr", "DllStructGetSize",
    "DllStructSetData", "DriveGetDrive", "DriveGetFileSystem", "DriveGetLabel", "DriveGetSerial",
    "DriveGetType", "DriveMapAdd", "DriveMapDel", "DriveMapGet", "DriveSetLabel",
    "DriveSpaceFree", "DriveSpaceTotal", "DriveStatus", "EnvGet", "EnvSet", "EnvUpdate", "Eval",
    "Execute", "Exp", "FileChangeDir", "FileClose", "FileCopy", "FileCreateNTFSLink",
    "FileCreateShortcut", "FileDelete", "FileExists", "FileFindFirstFile", "FileFindNextFile",
    "FileFlush", "FileGetAttrib", "FileGetEncoding", "FileGetLongName", "FileGetPos",
    "FileGetShortcut", "FileGetShortName", "FileGetSize", "FileGetTime", "FileGetVersion",
    "FileInstall", "FileMove", "FileOpen", "FileOpenDialog", "FileRead", "FileReadLine",
    "FileReadToArray", "FileRecycle", "FileRecycleEmpty", "FileSaveDialog", "FileSelectFolder",
    "FileSetAttrib", "FileSetEnd", "FileSetPos", "FileSetTime", "FileWrite", "FileWriteLine",
    "Floor", "FtpSetProxy", "FuncName", "GUICreate", "GUICtrlCreateAvi", "GUICtrlCreateButton",
    "GUICtrlCreateCheckbox", "GUICtrlCreateCombo", "GUICtrlCreateContextMenu",
    "GUICtrlCreateDate", "GUICtrlCreateDummy", "GUICtrlCreateEdit", "GUICtrlCreateGraphic",
    "GUICtrlCreateGroup", "GUICtrlCreateIcon", "GUICtrlCreateInput", "GUICtrlCreateLabel",
    "GUICtrlCreateList", "GUICtrlCreateListView", "GUICtrlCreateListViewItem",
    "GUICtrlCreateMenu", "GUICtrlCreateMenuItem", "GUICtrlCreateMonthCal", "GUICtrlCreateObj",
    "GUICtrlCreatePic", "GUICtrlCreateProgress", "GUICtrlCreateRadio", "GUICtrlCreateSlider",
    "GUICtrlCreateTab", "GUICtrlCreateTabItem", "GUICtrlCreateTreeView",
    "GUICtrlCreateTreeViewItem", "GUICtrlCreateUpdown", "GUICtrlDelete", "GUICtrlGetHandle",
    "GUICtrlGetState", "GUICtrlRead", "GUICtrlRecvMsg", "GUICtrlRegisterListViewSort",
    "GUICtrlSendMsg", "GUICtrlSendToDummy", "GUICtrlSetBkColor", "GUICtrlSetColor",
    "GUICtrlSetCursor", "GUICtrlSetData", "GUICtrlSetDefBkColor", "GUICtrlSetDefColor",
    "GUICtrlSetFont", "GUICtrlSetGraphic", "GUICtrlSetImage", "GUICtrlSetLimit",
    "GUICtrlSetOnEvent", "GUICtrlSetPos", "GUICtrlSetResizing", "GUICtrlSetState",
    "GUICtrlSetStyle", "GUICtrlSetTip", "GUIDelete", "GUIGetCursorInfo", "GUIGetMsg",
    "GUIGetStyle", "GUIRegisterMsg", "GUISetAccelerators", "GUISetBkColor", "GUISetCoord",
    "GUISetCursor", "GUISetFont", "GUISetHelp", "GUISetIcon", "GUISetOnEvent", "GUISetState",
    "GUISetStyle", "GUIStartGroup", "GUISwitch", "Hex", "HotKeySet", "HttpSetProxy",
    "HttpSetUserAgent", "HWnd", "InetClose", "InetGet", "InetGetInfo", "InetGetSize", "InetRead",
    "IniDelete", "IniRead", "IniReadSection", "IniReadSectionNames", "IniRenameSection",
    "IniWrite", "IniWriteSection", "InputBox", "Int", "IsAdmin", "IsArray", "IsBinary", "IsBool",
    "IsDeclared", "IsDllStruct", "IsFloat", "IsFunc", "IsHWnd", "IsInt", "IsKeyword", "IsMap",
    "IsNumber", "IsObj", "IsPtr", "IsString", "Log", "MapAppend", "MapExists", "MapKeys",
    "MapRemove", "MemGetStats", "Mod", "MouseClick", "MouseClickDrag", "MouseDown",
    "MouseGetCursor", "MouseGetPos", "MouseMove", "MouseUp", "MouseWheel", "MsgBox", "Number",
    "ObjCreate", "ObjCreateInterface", "ObjEvent", "ObjGet", "ObjName", "OnAutoItExitRegister",
    "OnAutoItExitUnRegister", "Opt", "Ping", "PixelChecksum", "PixelGetColor", "PixelSearch",
    "PluginClose", "PluginOpen", "ProcessClose", "ProcessExists", "ProcessGetStats",
    "ProcessList", "ProcessSetPriority", "ProcessWait", "ProcessWaitClose", "ProgressOff",
    "ProgressOn", "ProgressSet", "Ptr", "Random", "RegDelete", "RegEnumKey", "RegEnumVal",
    "RegRead", "RegWrite", "Round", "Run", "RunAs", "RunAsWait", "RunWait", "Send",
    "SendKeepActive", "SetError", "SetExtended", "ShellExecute", "ShellExecuteWait", "Shutdown",
    "Sin", "Sleep", "SoundPlay", "SoundSetWaveVolume", "SplashImageOn", "SplashOff",
    "SplashTextOn", "Sqrt", "SRandom", "StatusbarGetText", "StderrRead", "StdinWrite",
    "StdioClose", "StdoutRead", "String", "StringAddCR", "StringCompare", "StringFormat",
    "StringFromASCIIArray", "StringInStr", "StringIsAlNum", "StringIsAlpha", "StringIsASCII",
    "StringIsDigit", "StringIsFloat", "StringIsInt", "StringIsLower", "StringIsSpace",
    "StringIsUpper", "StringIsXDigit", "StringLeft", "StringLen", "StringLower", "StringMid",
    "StringRegExp", "StringRegExpReplace", "StringReplace", "StringReverse", "StringRight",
    "StringSplit", "StringStripCR", "StringStripWS", "StringToASCIIArray", "StringToBinary",
    "StringTrimLeft", "StringTrimRight", "StringUpper", "Tan", "TCPAccept", "TCPCloseSocket",
    "TCPConnect", "TCPListen", "TCPNameToIP", "TCPRecv", "TCPSend", "TCPShutdown", "TCPStartup",
    "TimerDiff", "TimerInit", "ToolTip", "TrayCreateItem", "TrayCreateMenu", "TrayGetMsg",
    "TrayItemDelete", "TrayItemGetHandle", "TrayItemGetState", "TrayItemGetText",
    "TrayItemSetOnEvent", "TrayItemSetState", "TrayItemSetText", "TraySetClick", "TraySetIcon",
    "TraySetOnEvent", "TraySetPauseIcon", "TraySetState", "TraySetToolTip", "TrayTip", "UBound",
    "UDPBind", "UDPCloseSocket", "UDPOpen", "UDPRecv", "UDPSend", "UDPShutdown", "UDPStartup",
    "VarGetType", "WinActivate", "WinActive", "WinClose", "WinExists", "WinFlash",
    "WinGetCaretPos", "WinGetClassList", "WinGetClientSize", "WinGetHandle", "WinGetPos",
    "WinGetProcess", "WinGetState", "WinGetText", "WinGetTitle", "WinKill", "WinList",
    "WinMenuSelectItem", "WinMinimizeAll", "WinMinimizeAllUndo", "WinMove", "WinSetOnTop",
    "WinSetState", "WinSetTitle", "WinSetTrans", "WinWait", "WinWaitActive", "WinWaitClose",
    "WinWaitNotActive",
};

}  // namespace

const std::vector<std::string>& autoit_words() {
  static const std::vector<std::string> words = [] {
    std::vector<std::string> upper;
    upper.reserve(std::size(kKeywords) + std::size(kFunctions));
    for (const std::string_view w : kKeywords) upper.push_back(upper_copy(w));
    for (const std::string_view w : kFunctions) upper.push_back(upper_copy(w));
    return upper;
  }();
  return words;
}

bool is_autoit_variable(std::string_view name) {
  for (const std::string_view own : kAutoitVariables) {
    if (own.size() == name.size() &&
        std::equal(own.begin(), own.end(), name.begin(),
                   [](char a, char b) { return upper_ascii(a) == upper_ascii(b); })) {
      return true;
    }
  }
  return false;
}
