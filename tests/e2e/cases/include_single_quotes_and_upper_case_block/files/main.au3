#CS
	#include "hidden.au3"
#CE
#include 'lib/gui.au3'
#include "it's.au3"
Gui()
Quote()
