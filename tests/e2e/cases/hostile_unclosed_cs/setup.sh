python3 - <<'EOF'
kinds = ["MsgBox(0, 'x', 'y')", '#cs again', '#CE is no closer', '#comments-end']
lines = ['$x = 1', 'Local $y = 2 #cs opened here'] + [kinds[i % 4] for i in range(99998)]
open('main.au3', 'wb').write(('\r\n'.join(lines) + '\r\n').encode())
EOF
