#!/usr/bin/env python3
"""What the minify options cost: the whole program on the 1M-line benchmark
scripts (today's realistic shape and the wide-name shape) without options,
with --tree-shaking, each minify switch alone and --minify, side by side
(median wall time, median CPU time of both threads, peak memory, output
size), and the ratio to the run without options. Twice: with every pass
(CFG, 3 runs, as the whole-tool benchmark runs) and with comments only
(C--: the run without options does little more than read and write, so
every pass that reads the names shows at its full cost). The target: --minify
at most 1.5 times the run without options, peak memory under 3 times the
script plus 20 MB.

minify_cost.py BINARY [--lines N] [--runs N] [--only TEXT]
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

from run_process import interleaved

HERE = os.path.dirname(os.path.abspath(__file__))

SCRIPTS = [
    ("realistic", lambda lines: ["--functions", str(lines // 50), "--variables", str(lines // 10)]),
    ("wide names", lambda lines: ["--functions", str(lines // 20), "--variables", str(lines // 10),
                                  "--wide-names"]),
]

VARIANTS = [
    ("no options", []),
    ("--tree-shaking", ["--tree-shaking"]),
    ("--minify-whitespace", ["--minify-whitespace"]),
    ("--minify-identifiers", ["--minify-identifiers"]),
    ("--minify", ["--minify"]),
]


def main():
    p = argparse.ArgumentParser()
    p.add_argument("binary")
    p.add_argument("--lines", type=int, default=1000000)
    p.add_argument("--runs", type=int, default=7)
    p.add_argument("--only", default="", help="only the scripts whose label holds this text")
    a = p.parse_args()
    binary = os.path.abspath(a.binary)
    work = tempfile.mkdtemp(prefix="au3minify-")
    try:
        for label, options in SCRIPTS:
            if a.only not in label:
                continue
            path = os.path.join(work, "in.au3")
            subprocess.run([sys.executable, os.path.join(HERE, "generate_script.py"), path,
                            "--lines", str(a.lines)] + options(a.lines), check=True)
            size = os.path.getsize(path)
            print(f"\n{label}: {a.lines} lines, {size / 1e6:.1f} MB; median of {a.runs} runs;"
                  f" memory limit {(3 * size + 20 * 2**20) / 2**20:.1f} MB")
            for passes in (["CFG", "3", "."], ["C--"]):
                compare(binary, work, passes, a.runs)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("\ntarget: --minify at most 1.50x the run without options")


def compare(binary, work, passes, runs):
    print(f"{'PASSES ' + ' '.join(passes):<28}{'time':>9}{'x none':>8}{'CPU':>9}{'x none':>8}"
          f"{'peak MB':>9}{'out MB':>8}")
    sizes = {}

    def note_size(label):
        sizes[label] = os.path.getsize(os.path.join(work, "out.au3")) / 1e6

    figures = interleaved([binary, "--no-pause", "in.au3", "out.au3", ".", "."] + passes,
                          VARIANTS, work, runs, after=note_size)
    base = figures["no options"]
    for label, _ in VARIANTS:
        f = figures[label]
        print(f"{label:<28}{f.wall * 1000:>7.0f}ms{f.wall / base.wall:>8.2f}{f.cpu * 1000:>7.0f}ms"
              f"{f.cpu / base.cpu:>8.2f}{f.peak / 2**20:>9.1f}{sizes[label]:>8.1f}")

if __name__ == "__main__":
    main()
