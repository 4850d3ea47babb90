#include <ListSort.au3>
Local $hCb = _List_RegisterSort("_List_Compare")
MsgBox(0, "", $hCb)
