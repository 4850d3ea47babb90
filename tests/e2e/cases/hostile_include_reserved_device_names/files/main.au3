#include "aux.au3"
#include "COM1"
#include "nul"
#include <con.txt>
#include <LPT9.au3>
#include "CONOUT$"
#include "prn .au3"
$kept = 1
