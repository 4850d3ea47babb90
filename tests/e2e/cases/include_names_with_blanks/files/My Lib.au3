mylib = 1
