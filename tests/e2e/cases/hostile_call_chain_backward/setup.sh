python3 - <<'EOF'
n = 20000
out = []
for k in range(1, n + 1):
    call = '    Return F%d()' % (k - 1) if k > 1 else '    Return 0'
    out += ['Func F%d()' % k, call, 'EndFunc']
open('main.au3', 'wb').write(('\r\n'.join(out) + '\r\n').encode())
EOF
