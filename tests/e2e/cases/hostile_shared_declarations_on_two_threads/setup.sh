# More than 32,768 lines and 32,768 unused variables sharing their
# declaration lines, and unused functions: every pass that splits its work
# runs both halves, each on a thread of its own.
python3 - <<'PY'
n = 20000
out = []
for i in range(n):
    if i % 10 == 0:
        # Many cuts of one line are made together.
        out.append('Global $a%dx, $b%dx, $c%dx = 1, $d%dx, $e%dx, $f%dx, $g%dx' % ((i,) * 7))
    else:
        out.append('Local $a%dx = 1, $b%dx, $c%dx = 3, $d%dx' % ((i,) * 4))
for i in range(n):
    out += ['Func F%dx($p)' % i, '    Local $x%dx = $p, $y%dx' % (i, i), '    Return $x%dx' % i,
            'EndFunc']
for i in range(0, n, 2):
    out += ['ConsoleWrite($b%dx & F%dx(%d))' % (i, i, i), 'ConsoleWrite($b%dx)' % (i + 1)]
open('main.au3', 'wb').write(('\r\n'.join(out) + '\r\n').encode())
PY
