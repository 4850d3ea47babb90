# include <a.au3>
$s = "#include <a.au3>"
; #include <a.au3>
#cs
#include <a.au3>
#ce
a_line = 1
