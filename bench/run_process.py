"""Runs a program once and measures it as a whole process: wall time, CPU
time of all its threads, and (when asked) its peak resident memory.

Peak memory is read through GNU time: a program started straight from
Python begins life as a copy of Python, and the kernel keeps that copy's
high-water mark through exec, so wait4 says about 14 MB for /bin/true. GNU
time, a small process in between, starts the program from itself, and the
figure it prints is the program's own. Where it is missing, the figure
comes from wait4 and a note says so.
"""
import collections
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

GNU_TIME = "/usr/bin/time" if os.access("/usr/bin/time", os.X_OK) else shutil.which("gtime")
Run = collections.namedtuple("Run", "wall cpu peak")
_warned = False


def run(command, cwd, stdout=subprocess.DEVNULL, peak=False):
    """Runs command; returns Run(wall s, CPU s, peak bytes or None). Exits on failure."""
    global _warned
    figure = None
    if peak and GNU_TIME:
        with tempfile.NamedTemporaryFile(prefix="au3peak-", delete=False) as fh:
            figure = fh.name
        command = [GNU_TIME, "-f", "%M", "-o", figure] + command
    elif peak and not _warned:
        print("note: no GNU time here; peak memory includes Python's own", file=sys.stderr)
        _warned = True
    try:
        start = time.perf_counter()
        with open(os.devnull, "rb") as devnull:
            proc = subprocess.Popen(command, cwd=cwd, stdin=devnull, stdout=stdout,
                                    stderr=subprocess.DEVNULL)
            _, status, usage = os.wait4(proc.pid, 0)
        wall = time.perf_counter() - start
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"failed: {' '.join(command)}")
        most = None
        if figure:
            with open(figure) as fh:
                most = int(fh.read().split()[-1]) * 1024
        elif peak:
            most = usage.ru_maxrss * 1024
        return Run(wall, usage.ru_utime + usage.ru_stime, most)
    finally:
        if figure:
            os.remove(figure)


Figures = collections.namedtuple("Figures", "wall cpu peak")


def interleaved(command, variants, cwd, runs, before=None, after=None):
    """Runs command plus each variant's options (variants: (label, options)
    pairs), runs times, the variants in turn, so that a busy moment of the
    machine hits every variant alike. before() is called ahead of each run,
    after(label) behind it. Returns {label: Figures(median wall s, median CPU
    s, largest peak bytes)}."""
    walls = {label: [] for label, _ in variants}
    cpus = {label: [] for label, _ in variants}
    peaks = {label: 0 for label, _ in variants}
    for _ in range(runs):
        for label, options in variants:
            if before:
                before()
            t, c, rss = run(command + options, cwd, peak=True)
            walls[label].append(t)
            cpus[label].append(c)
            peaks[label] = max(peaks[label], rss or 0)
            if after:
                after(label)
    return {label: Figures(statistics.median(walls[label]), statistics.median(cpus[label]),
                           peaks[label]) for label, _ in variants}
