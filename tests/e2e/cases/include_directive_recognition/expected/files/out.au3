# include <a.au3>
$s = "#include <a.au3>"
; #include <a.au3>
#cs
a_line = 1
#ce
