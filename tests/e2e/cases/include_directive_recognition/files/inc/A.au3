a_line = 1
