; main script in a folder named with a non-ASCII letter
#include "straße.au3"
#include <été.au3>
#include <sub\Ωmega.au3>
Main()
