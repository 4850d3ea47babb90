ConsoleWrite("two")
ConsoleWrite("one")
ConsoleWrite("main")
