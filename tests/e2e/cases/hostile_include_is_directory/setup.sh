mkdir folder.au3 sub
