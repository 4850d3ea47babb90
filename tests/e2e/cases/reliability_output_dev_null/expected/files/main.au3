; comment
x = 1

