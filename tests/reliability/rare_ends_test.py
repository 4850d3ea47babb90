#!/usr/bin/env python3
"""Ends of a run that are rare but cost files when mishandled.

rare_ends_test.py --binary BUILD/au3shrink

- A signal the run was started with ignored (`nohup` ignores SIGHUP) stays
  ignored: sent while the temporary file exists, the run carries on and ends
  with status 0 and the complete output.
- The last real-time signal (SIGRTMAX) sent while the temporary file exists
  ends the run without leaving it.
- An output with a second hard link in a folder where no new file can be
  made, by a user who may write the file: the complete copy goes to the
  system's temporary folder, and the file is rewritten.

Parts that cannot run here are reported as skipped; when nothing could run,
the exit status is 77 (skipped for ctest).
"""
import os
import signal
import subprocess
import sys

# The shared helpers stand beside this script.
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from reliability_support import (SMALL_SCRIPT, SMALL_FINAL, ran, big_script,
                                 binary_argument, check, put, get, temps_in, nobody_command,
                                 no_core_files, signal_while_writing, scratch_folder, report,
                                 runs_as_nobody)


def signal_during_write(binary, work, sig, ignored):
    """Sends `sig` while the run holds its temporary file; the status, or
    None when the run never held it long enough."""
    def prepare():
        no_core_files()
        if ignored:
            signal.signal(sig, signal.SIG_IGN)
    for _ in range(5):
        for leftover in temps_in(work):
            os.remove(os.path.join(work, leftover))
        status = signal_while_writing([binary, "--no-pause", "main.au3", "out.au3", ".", ".",
                                       "C--"], work, sig, preexec_fn=prepare)
        if status is not None:
            return status
    return None


def signals(binary):
    with scratch_folder("au3rare-", "signals") as work:
        put(os.path.join(work, "main.au3"), big_script(200000))
        put(os.path.join(work, "out.au3"), b"previous\r\n")
        status = signal_during_write(binary, work, signal.SIGHUP, ignored=True)
        check(status == 0, f"ignored SIGHUP: status {status}, expected 0")
        check(get(os.path.join(work, "out.au3")).startswith(b"Local $v0 = 0"),
              "ignored SIGHUP: the output is not complete")
        put(os.path.join(work, "out.au3"), b"previous\r\n")
        rtmax = signal.SIGRTMAX
        status = signal_during_write(binary, work, rtmax, ignored=False)
        check(status == -rtmax, f"SIGRTMAX: status {status}, expected {-rtmax}")
        check(not temps_in(work), f"SIGRTMAX: temporary files left: {temps_in(work)}")
        check(get(os.path.join(work, "out.au3")) == b"previous\r\n", "SIGRTMAX: the output changed")


def linked_output_in_locked_folder(binary):
    as_nobody = runs_as_nobody("locked folder")
    if as_nobody is None:
        return
    with scratch_folder("au3rare-", "locked folder", locked_inside=True) as work:
        os.chmod(work, 0o777)
        locked = os.path.join(work, "locked")
        os.mkdir(locked)
        put(os.path.join(work, "main.au3"), SMALL_SCRIPT, 0o644)
        out = os.path.join(locked, "out.au3")
        put(out, b"previous\r\n", 0o666)
        os.link(out, os.path.join(work, "other.au3"))
        os.chmod(locked, 0o555)
        command = [binary, "--no-pause", "main.au3", "locked/out.au3", ".", ".", "C--"]
        if as_nobody:
            command = nobody_command(command)
        run = subprocess.run(command, cwd=work, stdin=subprocess.DEVNULL, capture_output=True,
                             timeout=60)
        check(run.returncode == 0, f"locked folder: status {run.returncode}, {run.stderr!r}")
        check(get(out) == SMALL_FINAL, "locked folder: the output was not written")
        check(get(os.path.join(work, "other.au3")) == SMALL_FINAL,
              "locked folder: the hard link no longer shares the file")


def main():
    binary = binary_argument()
    signals(binary)
    linked_output_in_locked_folder(binary)
    return report("ok: " + ", ".join(ran))


if __name__ == "__main__":
    sys.exit(main())
