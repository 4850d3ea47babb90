ConsoleWrite("only in the quoted folder")
