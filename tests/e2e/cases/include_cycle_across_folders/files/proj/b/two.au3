#include "..\a\one.au3"
#include "two.au3"
#include <a\ONE.au3>
ConsoleWrite("two")
