python3 - <<'EOF'
body = "Local $keep = " + "Call('f;g') & " * 749000 + "1 ; tail comment"
open('main.au3', 'wb').write(body.encode())
EOF
