ConsoleWrite("beside main.au3")
