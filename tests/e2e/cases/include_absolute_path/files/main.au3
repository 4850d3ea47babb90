; A whole path opens as it stands, before the include folders are searched
#include "/proc/self/cwd/lib/Real One.au3"
#include </proc/self/cwd/lib/angle.au3>
; A Windows drive cannot open here: the search goes on, and finds nothing
#include "C:\Lib\elsewhere.au3"
Main()
