#include "..\lib\X.AU3"
ConsoleWrite("use")
