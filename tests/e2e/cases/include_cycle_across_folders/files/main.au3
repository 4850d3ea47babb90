#include "a\one.au3"
ConsoleWrite("main")
