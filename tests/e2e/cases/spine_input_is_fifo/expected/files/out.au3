$a = 1
MsgBox(0, $a, "from a FIFO")
