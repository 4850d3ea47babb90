previous
