a
b
