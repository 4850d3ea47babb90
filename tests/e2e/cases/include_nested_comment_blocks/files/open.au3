Func Open()
EndFunc
#cs its own block, left open
#include "b.au3"
