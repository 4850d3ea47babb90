#!/usr/bin/env python3
"""Times the whole program on generated scripts, next to a plain copy.

Prints, per script: its lines and size, the median wall time of au3shrink
(CFG, 3 runs, dots), the median time of copying the same file, the
throughput, the ratio to the copy and the peak resident memory, against the
targets the project holds itself to. The generated scripts are today's
realistic ones and the wide-name shape (long names that begin alike, see
generate_script.py) at 125k to 1M lines.

whole_tool.py BINARY [--runs N] [--only TEXT]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

from run_process import run

HERE = os.path.dirname(os.path.abspath(__file__))


# label, lines, functions, variables, generator options, memory limit factor
SCRIPTS = [
    ("25k lines, 2,000 functions, 5,000 variables", 25000, 2000, 5000, [], 4),
    ("1M lines, 20,000 functions, 100,000 variables", 1000000, 20000, 100000, [], 4),
] + [
    (f"wide names, {lines // 1000}k lines", lines, lines // 20, lines // 10, ["--wide-names"], 3)
    for lines in (125000, 250000, 500000, 1000000)
]


def main():
    p = argparse.ArgumentParser()
    p.add_argument("binary")
    p.add_argument("--runs", type=int, default=5)
    p.add_argument("--only", default="", help="run only the scripts whose label holds this text")
    a = p.parse_args()
    binary = os.path.abspath(a.binary)
    work = tempfile.mkdtemp(prefix="au3bench-")
    print(f"{'script':<48}{'lines':>9}{'MB':>7}{'au3shrink':>12}{'copy':>10}{'MB/s':>8}"
          f"{'x copy':>8}{'peak MB':>9}{'limit MB':>10}")
    try:
        for label, lines, functions, variables, options, factor in SCRIPTS:
            if a.only not in label:
                continue
            path = os.path.join(work, "in.au3")
            subprocess.run([sys.executable, os.path.join(HERE, "generate_script.py"), path,
                            "--lines", str(lines), "--functions", str(functions),
                            "--variables", str(variables)] + options, check=True)
            size = os.path.getsize(path)
            # Counted in small pieces, so that this process stays small.
            line_count = 0
            with open(path, "rb") as fh:
                for piece in iter(lambda: fh.read(1 << 16), b""):
                    line_count += piece.count(b"\n")
            tool, copy, peak = [], [], 0
            for _ in range(a.runs):
                tool.append(run([binary, "in.au3", "out.au3", ".", ".", "CFG", "3", "."], work).wall)
                copy.append(run(["cp", "in.au3", "copy.au3"], work).wall)
            peak = run([binary, "in.au3", "out.au3", ".", ".", "CFG", "3", "."], work, peak=True).peak
            t = statistics.median(tool)
            c = statistics.median(copy)
            expanded = size  # no includes: the expanded script is the input
            limit = factor * expanded + 20 * 2**20
            print(f"{label:<48}{line_count:>9}{size / 1e6:>7.1f}{t * 1000:>10.1f}ms{c * 1000:>8.1f}ms"
                  f"{size / t / 1e6:>8.1f}{t / c:>8.1f}{peak / 2**20:>9.1f}{limit / 2**20:>10.1f}")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("targets: 25k-line script under 50 ms; 1M-line scripts at 100 MB/s or better;"
          " wide names at most 10x a copy and each doubling of lines at most 2.1x the time;"
          " peak memory under the limit (4x, wide names 3x, the expanded script + 20 MB)")


if __name__ == "__main__":
    main()
