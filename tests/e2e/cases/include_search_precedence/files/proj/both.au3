ConsoleWrite("both.au3 beside main.au3")
