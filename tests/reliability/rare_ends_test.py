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
import argparse
import os
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time

NOBODY = 65534
# A few hundred milliseconds of work between the first write and the last.
BIG_SCRIPT = b"".join(b"Local $v%d = %d ; note\r\nMsgBox(0, $v%d, 1)\r\n" % (i, i, i)
                      for i in range(200000))
SMALL_SCRIPT = b"; comment\r\n$x = 1\r\nMsgBox(0, $x, 'shown')\r\n"
SMALL_FINAL = b"$x = 1\r\nMsgBox(0, $x, 'shown')\r\n"
failures = []
skipped = []
ran = []


def check(condition, what):
    if not condition:
        failures.append(what)


def put(path, data, mode=None):
    with open(path, "wb") as f:
        f.write(data)
    if mode is not None:
        os.chmod(path, mode)


def get(path):
    with open(path, "rb") as f:
        return f.read()


def temps_in(folder):
    return [n for n in os.listdir(folder) if n.startswith(".au3shrink-")]


def signal_during_write(binary, work, sig, ignored):
    """Sends `sig` while the run holds its temporary file; the status, or
    None when the run never held it long enough."""
    def prepare():
        resource.setrlimit(resource.RLIMIT_CORE, (0, 0))
        if ignored:
            signal.signal(sig, signal.SIG_IGN)
    for _ in range(5):
        for leftover in temps_in(work):
            os.remove(os.path.join(work, leftover))
        proc = subprocess.Popen([binary, "--no-pause", "main.au3", "out.au3", ".", ".", "C--"],
                                cwd=work, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, preexec_fn=prepare)
        while not temps_in(work) and proc.poll() is None:
            time.sleep(0.0005)
        if proc.poll() is None:
            proc.send_signal(signal.SIGSTOP)
            if temps_in(work):
                proc.send_signal(sig)
                proc.send_signal(signal.SIGCONT)
                return proc.wait()
            proc.send_signal(signal.SIGCONT)
        proc.wait()
    return None


def signals(binary):
    work = tempfile.mkdtemp(prefix="au3rare-")
    ran.append("signals")
    try:
        put(os.path.join(work, "main.au3"), BIG_SCRIPT)
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
    finally:
        shutil.rmtree(work, ignore_errors=True)


def linked_output_in_locked_folder(binary):
    as_nobody = os.geteuid() == 0
    if as_nobody and shutil.which("setpriv") is None:
        skipped.append("locked folder: running as root and setpriv is missing")
        return
    work = tempfile.mkdtemp(prefix="au3rare-")
    ran.append("locked folder")
    try:
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
            command = ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}",
                       "--clear-groups"] + command
        run = subprocess.run(command, cwd=work, stdin=subprocess.DEVNULL, capture_output=True,
                             timeout=60)
        check(run.returncode == 0, f"locked folder: status {run.returncode}, {run.stderr!r}")
        check(get(out) == SMALL_FINAL, "locked folder: the output was not written")
        check(get(os.path.join(work, "other.au3")) == SMALL_FINAL,
              "locked folder: the hard link no longer shares the file")
    finally:
        subprocess.run(["chmod", "-R", "u+rwx", work], stderr=subprocess.DEVNULL)
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    binary = os.path.abspath(parser.parse_args().binary)
    signals(binary)
    linked_output_in_locked_folder(binary)
    for what in skipped:
        print("skipped:", what)
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        return 1
    if not ran:
        return 77
    print("ok:", ", ".join(ran))
    return 0


if __name__ == "__main__":
    sys.exit(main())
