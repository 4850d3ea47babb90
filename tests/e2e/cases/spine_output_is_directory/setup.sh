mkdir outdir
