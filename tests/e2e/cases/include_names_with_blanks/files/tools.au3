tools = 2
