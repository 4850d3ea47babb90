# A folder whose name holds a colon, as no Windows path can: the map entry
# is split at its last colon, not its first.
mkdir -p 'x:y'
printf 'Func A()\r\nEndFunc\r\nMsgBox(0, "", 1)\r\n' > 'x:y/in.au3'
printf 'x:y/in.au3:3\r\ngone.au3:1\r\ngone.au3:2\r\n' > in.map
