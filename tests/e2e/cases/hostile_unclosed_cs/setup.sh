python3 - <<'EOF'
kinds = ["MsgBox(0, 'x', 'y')", '#cs again', 'x #CE is no closer', '#comments-endless']
lines = ['$x = 1', 'Local $y = 2', '#cs opened here'] + [kinds[i % 4] for i in range(99997)]
open('main.au3', 'wb').write(('\r\n'.join(lines) + '\r\n').encode())
EOF
