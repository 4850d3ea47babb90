ConsoleWrite("both.au3 from the quoted folder")
