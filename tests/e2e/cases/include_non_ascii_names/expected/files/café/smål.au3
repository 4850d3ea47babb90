$s = "ß"
$e = 1
$o = 2
Main()
