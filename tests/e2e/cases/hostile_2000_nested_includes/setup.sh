python3 - <<'EOF'
n = 2000
open('main.au3', 'wb').write(b'$main = 1\r\n#include "N1.au3"\r\n$main = 2\r\n')
for k in range(1, n + 1):
    body = ['$a%d = 1' % k]
    if k < n:
        body.append('#include "N%d.au3"' % (k + 1))
    body.append('$b%d = 2' % k)
    open('n%d.au3' % k, 'wb').write(('\r\n'.join(body) + '\r\n').encode())
EOF
