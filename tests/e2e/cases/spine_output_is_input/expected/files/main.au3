a
  b
