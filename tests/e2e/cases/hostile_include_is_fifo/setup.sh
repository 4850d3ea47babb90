mkfifo pipe.au3
