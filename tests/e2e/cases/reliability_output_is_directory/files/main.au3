x = 1 ; note
