#include <x.au3>
#include "lib\x.au3"
#include "sub\use.au3"
#include "link.au3"
#include "sub\x.au3"
ConsoleWrite(X_Lib() & X_Sub())
