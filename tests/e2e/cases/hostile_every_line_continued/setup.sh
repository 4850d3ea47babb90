python3 - <<'EOF'
open('main.au3', 'wb').write(b'$a += 1 _\r\n' * 200000)
EOF
