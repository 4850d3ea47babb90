#!/usr/bin/env python3
"""Times the whole program on generated scripts, next to a plain copy.

whole_tool.py BINARY [--runs N]

Prints, per script: the median wall time of au3shrink (CFG, 3 runs, dots),
the median time of copying the same file, the throughput and the peak
resident memory, against the targets the project holds itself to.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def timed(command, cwd):
    start = time.perf_counter()
    with open(os.devnull, "rb") as devnull, open(os.devnull, "wb") as sink:
        proc = subprocess.Popen(command, cwd=cwd, stdin=devnull, stdout=sink, stderr=sink)
        _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {' '.join(command)}")
    return elapsed, usage.ru_maxrss * 1024


def main():
    p = argparse.ArgumentParser()
    p.add_argument("binary")
    p.add_argument("--runs", type=int, default=5)
    a = p.parse_args()
    binary = os.path.abspath(a.binary)
    work = tempfile.mkdtemp(prefix="au3bench-")
    scripts = [("25k lines, 2,000 functions, 5,000 variables", 25000, 2000, 5000),
               ("1M lines, 20,000 functions, 100,000 variables", 1000000, 20000, 100000)]
    print(f"{'script':<48}{'bytes':>12}{'au3shrink':>12}{'copy':>10}{'MB/s':>9}{'peak MB':>10}{'mem limit MB':>14}")
    try:
        for label, lines, functions, variables in scripts:
            path = os.path.join(work, "in.au3")
            subprocess.run([sys.executable, os.path.join(HERE, "generate_script.py"), path,
                            "--lines", str(lines), "--functions", str(functions),
                            "--variables", str(variables)], check=True)
            size = os.path.getsize(path)
            tool, copy, peak = [], [], 0
            for _ in range(a.runs):
                t, rss = timed([binary, "in.au3", "out.au3", ".", ".", "CFG", "3", "."], work)
                tool.append(t)
                peak = max(peak, rss)
                copy.append(timed(["cp", "in.au3", "copy.au3"], work)[0])
            t = statistics.median(tool)
            expanded = size  # no includes: the expanded script is the input
            limit = 4 * expanded + 20 * 2**20
            print(f"{label:<48}{size:>12}{t * 1000:>10.1f}ms{statistics.median(copy) * 1000:>8.1f}ms"
                  f"{size / t / 1e6:>9.1f}{peak / 2**20:>10.1f}{limit / 2**20:>14.1f}")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("targets: 25k-line script under 50 ms; 1M-line script at 100 MB/s or better;"
          " peak memory under 4x the expanded script + 20 MB")


if __name__ == "__main__":
    main()
