x = 1 ; kept: no pass selected
