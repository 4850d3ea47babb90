#include "Folder.au3"
#include "sub\"
$x = 1
