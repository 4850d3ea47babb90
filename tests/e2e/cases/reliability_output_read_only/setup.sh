# The read-only attribute on Windows.
chmod 444 out.au3
