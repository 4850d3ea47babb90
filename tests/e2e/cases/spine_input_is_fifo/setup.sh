# The script arrives through a FIFO whose writer starts before the program.
mkfifo main.au3
(cat script.txt > main.au3 &)
