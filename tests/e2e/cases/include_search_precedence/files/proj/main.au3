#include "both.au3" ; q\ wins over the folder of main.au3
#include "onlyangle.au3"
#include <onlyquoted.au3>
#include <beside.au3>
#include "nowhere.au3"
#include "NoWhere.au3"
ConsoleWrite("done")
