mkdir outdir
printf 'keep\r\n' > outdir/inner.au3
