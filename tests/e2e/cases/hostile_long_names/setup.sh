python3 - <<'EOF'
fn = 'Fn' + 'x' * 99998
v = 'v' * 100000
w = 'w' * 100000
inc = 'i' * 5000 + '.au3'
src = ['Func %s()' % fn, '    Local $%s = 1' % v, '    Return $%s' % v, 'EndFunc',
       fn + '()', '#include "%s"' % inc, 'Global $%s = 2' % w]
open('main.au3', 'wb').write(('\r\n'.join(src) + '\r\n').encode())
EOF
