"""The peak resident memory of one run of a program, without this Python
process's own size in it.

A program started from Python begins life as a copy of Python, and the
kernel keeps that copy's high-water mark through exec: wait4 says about
14 MB for /bin/true. GNU time, a small process in between, starts the
program from itself, so the figure it prints is the program's own. Where
it is missing, the figures come from wait4 and say so.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

GNU_TIME = "/usr/bin/time" if os.access("/usr/bin/time", os.X_OK) else shutil.which("gtime")
_warned = False


def run_measured(command, cwd, stdout):
    """Runs command; returns (wall seconds, peak bytes). Exits on failure."""
    global _warned
    with tempfile.NamedTemporaryFile(prefix="au3peak-", delete=False) as fh:
        figure = fh.name
    wrapped = [GNU_TIME, "-f", "%M", "-o", figure] + command if GNU_TIME else command
    if not GNU_TIME and not _warned:
        print("note: no GNU time here; peak memory includes Python's own", file=sys.stderr)
        _warned = True
    try:
        start = time.perf_counter()
        with open(os.devnull, "rb") as devnull, open(os.devnull, "wb") as sink:
            proc = subprocess.Popen(wrapped, cwd=cwd, stdin=devnull, stdout=stdout, stderr=sink)
            _, status, usage = os.wait4(proc.pid, 0)
        elapsed = time.perf_counter() - start
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"failed: {' '.join(command)}")
        if GNU_TIME:
            with open(figure) as fh:
                return elapsed, int(fh.read().split()[-1]) * 1024
        return elapsed, usage.ru_maxrss * 1024
    finally:
        os.remove(figure)
