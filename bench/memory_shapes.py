#!/usr/bin/env python3
"""Peak memory of the whole program on scripts of odd shapes, beside their size.

Each shape comes at three sizes, so that growth shows as well as level:

  dense     one Local line declaring N short names ($v0, $v1, ...)
  functions N two-line functions (Func fN() / EndFunc)
  plain     N lines of "$a = 1"
  included  the same after an include on the first line
  wide      generate_script.py --wide-names, N lines (long names that begin alike)
  keep      a keep pragma with N entries, in a script under a long folder path
  keepmany  N distinct keep entries of every form (names, $names, P*, *S,
            P*S, P*M*S) in pragmas of 1000, and a function or variable that
            each keeps

Every run is `BINARY --no-pause IN OUT . . CFG 2 .`; the figures are the
wall time and the peak resident memory of the process (see run_process.py), printed beside the
script's size and the bound the project holds itself to (3 times the script
plus 20 MB). Nothing is asserted: this is a measurement, not a test.

memory_shapes.py BINARY [--vs OTHER_BINARY] [--only SHAPE] [--small]

--vs runs a second program on the same scripts and prints its figures too,
and says whether the two wrote the same script and the same report, timings aside.
--small runs each shape at a tenth of its sizes, for a quick look.
"""
import argparse
import filecmp
import os
import shutil
import subprocess
import sys
import tempfile

from run_process import run as run_process

HERE = os.path.dirname(os.path.abspath(__file__))
MB = 2**20


def write_lines(path, lines):
    with open(path, "wb") as fh:
        for piece in lines:
            fh.write(piece.encode())


def dense(path, n):
    # One line; written in chunks so that this process stays small.
    def pieces():
        yield "Local "
        for start in range(0, n, 10000):
            yield ", ".join(f"$v{k}" for k in range(start, min(n, start + 10000)))
            if start + 10000 < n:
                yield ", "
        yield "\r\n"
    write_lines(path, pieces())
    return path


def functions(path, n):
    def pieces():
        for start in range(0, n, 10000):
            yield "".join(f"Func f{k}()\r\nEndFunc\r\n" for k in range(start, min(n, start + 10000)))
    write_lines(path, pieces())
    return path


def plain(path, n):
    def pieces():
        chunk = "$a = 1\r\n" * 10000
        for start in range(0, n, 10000):
            yield chunk if start + 10000 <= n else "$a = 1\r\n" * (n - start)
    write_lines(path, pieces())
    return path


def included(path, n):
    # The plain shape after an include on the first line: the whole script
    # goes through the include pass.
    with open(os.path.join(os.path.dirname(path), "lib.au3"), "wb") as fh:
        fh.write(b"Func LibF()\r\nEndFunc\r\n")
    plain(path + ".rest", n)
    with open(path, "wb") as out, open(path + ".rest", "rb") as rest:
        out.write(b'#include "lib.au3"\r\n')
        shutil.copyfileobj(rest, out)
    os.remove(path + ".rest")
    return path


def wide(path, n):
    subprocess.run([sys.executable, os.path.join(HERE, "generate_script.py"), path,
                    "--lines", str(n), "--functions", str(n // 20),
                    "--variables", str(n // 10), "--wide-names"], check=True)
    return path


def keep(path, n):
    # The script lies some folders deep under long names, so that the file
    # name that each entry's place points at is long.
    folder = os.path.dirname(path)
    for k in range(12):
        folder = os.path.join(folder, f"a_rather_long_folder_name_for_the_keep_pragma_{k:02d}" * 3)
    os.makedirs(folder, exist_ok=True)
    script = os.path.join(folder, "keep.au3")
    entries = ",".join("F" if k % 2 == 0 else "$V" for k in range(n))
    write_lines(script, ["; au3shrink: keep " + entries + "\r\n",
                         "Local $V = 1\r\n", "Func F()\r\n", "EndFunc\r\n"])
    return script


def keepmany(path, n):
    forms = ("Fn_{k}", "$g_v{k}", "On{k}_*", "*_End{k}", "Get{k}*Mode", "A{k}*Mid*Z")
    # What each form keeps: a name for every entry, so that no entry is
    # warned about.
    kept = ("Func Fn_{k}()\r\nEndFunc\r\n", "Global $g_v{k} = 1\r\n",
            "Func On{k}_Click()\r\nEndFunc\r\n", "Func X_End{k}()\r\nEndFunc\r\n",
            "Func Get{k}BkMode()\r\nEndFunc\r\n", "Func A{k}_Mid_Z()\r\nEndFunc\r\n")
    def pieces():
        for start in range(0, n, 1000):
            ks = range(start, min(n, start + 1000))
            yield "; au3shrink: keep " + ",".join(forms[k % 6].format(k=k) for k in ks) + "\r\n"
        for start in range(0, n, 6000):
            yield "".join(kept[k % 6].format(k=k) for k in range(start, min(n, start + 6000)))
    write_lines(path, pieces())
    return path


# name, generator, sizes, what a size counts
SHAPES = [
    ("dense", dense, (250000, 500000, 1000000), "names"),
    ("functions", functions, (250000, 500000, 1000000), "functions"),
    ("plain", plain, (1000000, 2000000, 4000000), "lines"),
    ("included", included, (1000000, 2000000, 4000000), "lines"),
    ("wide", wide, (250000, 500000, 1000000), "lines"),
    ("keep", keep, (50000, 100000, 200000), "entries"),
    ("keepmany", keepmany, (100000, 200000, 400000), "entries"),
]


def run(binary, script, out, work):
    with open(out + ".stdout", "wb") as report:
        done = run_process([binary, "--no-pause", script, out, ".", ".", "CFG", "2", "."], work,
                           report, peak=True)
    return done.wall, done.peak


def report_without_times(path):
    with open(path, "rb") as fh:
        return [line for line in fh if not line.startswith(b"time ")]


def same_output(a, b):
    # The reports differ in their timings only, when they are the same.
    return filecmp.cmp(a, b, shallow=False) and \
        report_without_times(a + ".stdout") == report_without_times(b + ".stdout")


def main():
    p = argparse.ArgumentParser()
    p.add_argument("binary")
    p.add_argument("--vs", default="", help="a second program to run on the same scripts")
    p.add_argument("--only", default="", help="run only this shape")
    p.add_argument("--small", action="store_true", help="a tenth of each size")
    a = p.parse_args()
    binary = os.path.abspath(a.binary)
    other = os.path.abspath(a.vs) if a.vs else ""
    work = tempfile.mkdtemp(prefix="au3memory-")
    header = f"{'shape':<11}{'size':>10} {'of':<10}{'script MB':>10}{'bound MB':>10}{'peak MB':>9}{'s':>7}"
    if other:
        header += f"{'other MB':>10}{'s':>7}  same"
    print(header)
    try:
        for name, generate, sizes, unit in SHAPES:
            if a.only and a.only != name:
                continue
            for n in sizes:
                if a.small:
                    n //= 10
                script = generate(os.path.join(work, f"{name}.au3"), n)
                size = os.path.getsize(script)
                bound = 3 * size + 20 * MB
                t, peak = run(binary, script, os.path.join(work, "out.au3"), work)
                row = (f"{name:<11}{n:>10} {unit:<10}{size / MB:>10.1f}{bound / MB:>10.1f}"
                       f"{peak / MB:>9.1f}{t:>7.2f}")
                if other:
                    t2, peak2 = run(other, script, os.path.join(work, "other.au3"), work)
                    same = same_output(os.path.join(work, "out.au3"), os.path.join(work, "other.au3"))
                    row += f"{peak2 / MB:>10.1f}{t2:>7.2f}  {'yes' if same else 'NO'}"
                print(row, flush=True)
                os.remove(script)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("bound: 3 times the script + 20 MB; peak: the largest resident size of the run")


if __name__ == "__main__":
    main()
