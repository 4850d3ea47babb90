#!/usr/bin/env python3
"""What the way back costs: the whole program on a generated script without
options, with --map, with --metafile, with --analyze and with all three,
side by side (median wall time, median CPU time of both threads, peak
memory), and the ratio to the run without them. On a busy machine the CPU
time is the steadier figure. Twice: with every pass (CFG, 3 runs: the dead code goes, so
the output is small, and the metafile lists every function and variable),
and with comments only (C--: the output keeps its functions, so the map
has about as many lines as the script). The target: --map and --metafile
together at most 1.3 times the run without.

explain_cost.py BINARY [--lines N] [--runs N]
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

from run_process import interleaved

HERE = os.path.dirname(os.path.abspath(__file__))

VARIANTS = [
    ("no options", []),
    ("--map", ["--map=out.map"]),
    ("--metafile", ["--metafile=out.json"]),
    ("--analyze", ["--analyze"]),
    ("--map --metafile", ["--map=out.map", "--metafile=out.json"]),
    ("--map --metafile --analyze", ["--map=out.map", "--metafile=out.json", "--analyze"]),
]


def main():
    p = argparse.ArgumentParser()
    p.add_argument("binary")
    p.add_argument("--lines", type=int, default=1000000)
    p.add_argument("--runs", type=int, default=5)
    a = p.parse_args()
    binary = os.path.abspath(a.binary)
    work = tempfile.mkdtemp(prefix="au3explain-")
    try:
        path = os.path.join(work, "in.au3")
        subprocess.run([sys.executable, os.path.join(HERE, "generate_script.py"), path,
                        "--lines", str(a.lines), "--functions", str(a.lines // 50),
                        "--variables", str(a.lines // 10)], check=True)
        print(f"script: {a.lines} lines, {os.path.getsize(path) / 1e6:.1f} MB; median of {a.runs} runs")
        for passes in (["CFG", "3", "."], ["C--"]):
            compare(binary, work, passes, a.runs)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("target: --map --metafile at most 1.30x the run without options")


def compare(binary, work, passes, runs):
    print()
    print(f"{'PASSES ' + ' '.join(passes):<30}{'time':>10}{'x none':>8}{'CPU':>9}{'x none':>8}"
          f"{'peak MB':>9}"
          f"{'map MB':>8}{'json MB':>9}{'out MB':>8}")
    sizes = {}

    def remove_outputs():
        for name in ("out.map", "out.json"):
            if os.path.exists(os.path.join(work, name)):
                os.remove(os.path.join(work, name))

    def note_sizes(label):
        sizes[label] = [os.path.getsize(os.path.join(work, n)) / 1e6
                        if os.path.exists(os.path.join(work, n)) else 0.0
                        for n in ("out.map", "out.json", "out.au3")]

    figures = interleaved([binary, "--no-pause", "in.au3", "out.au3", ".", "."] + passes,
                          VARIANTS, work, runs, before=remove_outputs, after=note_sizes)
    base = figures[VARIANTS[0][0]]
    for label, _ in VARIANTS:
        f = figures[label]
        print(f"{label:<30}{f.wall * 1000:>8.0f}ms{f.wall / base.wall:>8.2f}{f.cpu * 1000:>7.0f}ms"
              f"{f.cpu / base.cpu:>8.2f}{f.peak / 2**20:>9.1f}"
              f"{sizes[label][0]:>8.1f}{sizes[label][1]:>9.1f}{sizes[label][2]:>8.1f}")

if __name__ == "__main__":
    main()
