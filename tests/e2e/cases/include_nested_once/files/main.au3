; main script
#include <Helpers.au3>
#include "config.au3"
Global $x = 1
#include "CONFIG.au3"
Main()
