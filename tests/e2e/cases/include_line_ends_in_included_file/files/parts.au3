one
twotwo

last = 1 + _ignored
