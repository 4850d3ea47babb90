MsgBox(0, "a", "b")
