#comments-start
#include "extra.au3"
#include-once
#comments-end
MsgBox(0, "a", "b")
