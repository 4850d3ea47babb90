; comment
x = 1
