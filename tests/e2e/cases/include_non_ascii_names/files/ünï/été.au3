$e = 1 ; angle include
