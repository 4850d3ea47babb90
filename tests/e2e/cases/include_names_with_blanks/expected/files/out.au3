mylib = 1
tools = 2
gui = 3
x()
