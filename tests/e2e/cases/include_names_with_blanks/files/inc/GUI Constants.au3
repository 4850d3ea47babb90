gui = 3
