#include "My Lib.au3"
#include "tools.au3" ; helper functions
#include <GUI Constants.au3>
x()
