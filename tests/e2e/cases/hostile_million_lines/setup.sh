python3 - <<'EOF'
out = []
for i in range(250000):
    out += ['; comment %d' % i, '$s = $s & %d _' % i, '    + 1', '']
open('main.au3', 'wb').write(('\r\n'.join(out) + '\r\n').encode())
EOF
