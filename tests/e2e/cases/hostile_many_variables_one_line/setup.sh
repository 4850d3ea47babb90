python3 - <<'EOF'
n = 100000
decl = 'Local ' + ', '.join('$v%dx' % i for i in range(n))
use = 'ConsoleWrite(' + ' & '.join('$v%dx' % i for i in range(0, n, 2)) + ')'
open('main.au3', 'wb').write((decl + '\r\n' + use + '\r\n').encode())
EOF
