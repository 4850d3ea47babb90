$kept = 1
