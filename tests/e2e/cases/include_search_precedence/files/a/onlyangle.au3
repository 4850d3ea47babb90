ConsoleWrite("only in the angle folder")
