; quoted include
$s = "ß"
