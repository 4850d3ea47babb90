#include-once
#include "ui\window.au3"
#include "core\engine.au3"
#include <Strings.au3>

Func App_Run()
	Window_Show(Engine_Start())
EndFunc
