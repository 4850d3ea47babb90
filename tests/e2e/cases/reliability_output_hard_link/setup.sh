# Two names for one output file: both must show the new script.
ln out.au3 other_name.au3
