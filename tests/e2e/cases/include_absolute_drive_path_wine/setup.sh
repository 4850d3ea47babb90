# Wine maps drive Z: to the root of the file system, so the work folder's
# whole path is Z: and its path with backslashes. That path differs from run
# to run, so the report is not compared (expected/sha256 names only the
# output file).
python3 - <<'PY'
import os
script = open("main.au3", "rb").read()
whole = "Z:" + os.getcwd().replace("/", "\\")
open("main.au3", "wb").write(script.replace(b"@WORK@", whole.encode()))
PY
