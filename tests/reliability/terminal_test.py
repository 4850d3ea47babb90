#!/usr/bin/env python3
"""The key-press wait on a real terminal (a pseudo-terminal made here).

terminal_test.py --binary BUILD/au3shrink [--emulator wine]

Each case runs a whole (tiny) run with standard input, output and error on
the terminal, then checks, through the terminal's own side:
- the run waits at the prompt until a key comes, with echo and line editing
  off while it waits;
- an arrow key (an escape sequence) ends the wait whole: nothing of it is
  left for the shell to read;
- the terminal's settings are back afterwards: after a key, after Ctrl-\\
  (SIGQUIT) and Ctrl-C (SIGINT) ended the wait, and while the run is
  suspended by Ctrl-Z (SIGTSTP), which takes up the wait again on SIGCONT.
With --emulator (the Windows build under wine, whose console reads the
terminal) only the wait itself is checked: it waits at the prompt, and one
arrow key ends it.
"""
import argparse
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import termios
import time

PROMPT = b"Press any key to continue . . . "
failures = []

# Stands in for a job-control shell: makes the terminal its controlling one
# and runs the program as the terminal's foreground job, in a process group
# of its own (a stop signal to an orphaned group would be dropped). Writes
# the program's process id to the descriptor in argv[1]; exits with the
# program's status, or 128 + the signal that ended it.
WRAPPER = r"""
import fcntl, os, signal, sys, termios
os.setsid()
fcntl.ioctl(0, termios.TIOCSCTTY, 0)
signal.signal(signal.SIGTTOU, signal.SIG_IGN)
pid = os.fork()
if pid == 0:
    os.close(int(sys.argv[1]))
    os.setpgid(0, 0)
    os.tcsetpgrp(0, os.getpid())
    signal.signal(signal.SIGTTOU, signal.SIG_DFL)
    os.execv(sys.argv[2], sys.argv[2:])
try:
    os.setpgid(pid, pid)
except OSError:
    pass
os.write(int(sys.argv[1]), str(pid).encode())
os.close(int(sys.argv[1]))
while True:
    _, status = os.waitpid(pid, 0)
    if os.WIFEXITED(status):
        sys.exit(os.WEXITSTATUS(status))
    if os.WIFSIGNALED(status):
        sys.exit(128 + os.WTERMSIG(status))
"""


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def read_until(fd, wanted, seconds=20):
    data = b""
    deadline = time.monotonic() + seconds
    while wanted not in data and time.monotonic() < deadline:
        ready, _, _ = select.select([fd], [], [], 0.1)
        if ready:
            try:
                chunk = os.read(fd, 4096)
            except OSError:
                break
            if not chunk:
                break
            data += chunk
    return data


def cooked(settings):
    lflag = settings[3]
    return bool(lflag & termios.ECHO) and bool(lflag & termios.ICANON)


def wait_state(pid, state, seconds=10):
    """Waits until /proc shows the process in `state` (T: stopped)."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            with open(f"/proc/{pid}/stat") as f:
                if f.read().rsplit(")", 1)[1].split()[0] == state:
                    return True
        except OSError:
            return False
        time.sleep(0.02)
    return False


class run_on_terminal:
    def __init__(self, binary, work, emulator=""):
        self.master, slave = os.openpty()
        self.slave_name = os.ttyname(slave)
        self.before = termios.tcgetattr(slave)
        report, told = os.pipe()
        self.proc = subprocess.Popen(
            [sys.executable, "-c", WRAPPER, str(told)] +
            ([shutil.which(emulator)] if emulator else []) +
            [binary, "main.au3", "out.au3", ".", ".", "---"], cwd=work, stdin=slave, stdout=slave, stderr=slave, pass_fds=(told,))
        os.close(told)
        with os.fdopen(report, "rb") as f:
            self.pid = int(f.read() or b"0")
        self.slave = slave
        self.seen = read_until(self.master, PROMPT.strip())

    def settings(self):
        return termios.tcgetattr(self.slave)

    def left_in_input(self):
        """Bytes still queued for the next reader of the terminal."""
        attrs = termios.tcgetattr(self.slave)
        attrs[3] &= ~termios.ICANON
        attrs[6][termios.VMIN] = 0
        attrs[6][termios.VTIME] = 0
        termios.tcsetattr(self.slave, termios.TCSANOW, attrs)
        try:
            return os.read(self.slave, 100)
        except OSError:
            return b""

    def finish(self):
        try:
            return self.proc.wait(timeout=20)
        finally:
            os.close(self.master)
            os.close(self.slave)


def key_press(binary, work):
    t = run_on_terminal(binary, work)
    check(PROMPT in t.seen, f"key press: no prompt, saw {t.seen[-200:]!r}")
    time.sleep(0.3)
    check(t.proc.poll() is None, "key press: the run did not wait for a key")
    check(not cooked(t.settings()), "key press: echo or line editing still on while waiting")
    os.write(t.master, b"\x1b[A")  # the up-arrow key
    status = t.proc.wait(timeout=20)
    check(status == 0, f"key press: status {status}")
    check(cooked(t.settings()) and t.settings() == t.before,
          "key press: terminal settings not restored")
    left = t.left_in_input()
    check(left == b"", f"key press: {left!r} left for the shell")
    t.finish()


def key_press_emulated(binary, work, emulator):
    t = run_on_terminal(binary, work, emulator)
    check(PROMPT.strip() in t.seen, f"key press: no prompt, saw {t.seen[-200:]!r}")
    time.sleep(1)
    check(t.proc.poll() is None, "key press: the run did not wait for a key")
    os.write(t.master, b"\x1b[A")  # the up-arrow key
    try:
        status = t.proc.wait(timeout=20)
    except subprocess.TimeoutExpired:
        t.proc.kill()
        status = None
    check(status == 0, f"key press: status {status}")
    t.finish()


def ended_by_signal(binary, work, sig, key):
    t = run_on_terminal(binary, work)
    time.sleep(0.3)
    check(not cooked(t.settings()), f"{sig.name}: the wait did not start")
    os.write(t.master, key)
    try:
        status = t.proc.wait(timeout=20)
    except subprocess.TimeoutExpired:
        t.proc.kill()
        status = None
    check(status == 128 + sig, f"{sig.name}: status {status}, expected death by the signal")
    check(t.settings() == t.before, f"{sig.name}: terminal settings not restored")
    t.finish()


def suspended(binary, work):
    t = run_on_terminal(binary, work)
    time.sleep(0.3)
    check(not cooked(t.settings()), "SIGTSTP: the wait did not start")
    os.write(t.master, b"\x1a")  # Ctrl-Z
    check(wait_state(t.pid, "T"), "SIGTSTP: the run did not stop")
    check(t.settings() == t.before, "SIGTSTP: terminal settings not restored while suspended")
    os.kill(t.pid, signal.SIGCONT)
    time.sleep(0.3)
    check(t.proc.poll() is None and not cooked(t.settings()),
          "SIGCONT: the wait did not take up its settings again")
    os.write(t.master, b"x")
    status = t.proc.wait(timeout=20)
    check(status == 0, f"SIGCONT: status {status}")
    check(t.settings() == t.before, "SIGCONT: terminal settings not restored after the key")
    t.finish()


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--binary", required=True)
    p.add_argument("--emulator", default="")
    a = p.parse_args()
    binary = os.path.abspath(a.binary)
    with tempfile.TemporaryDirectory(prefix="au3tty-") as work:
        with open(os.path.join(work, "main.au3"), "wb") as f:
            f.write(b"x = 1\r\n")
        if a.emulator:
            key_press_emulated(binary, work, a.emulator)
            return report()
        key_press(binary, work)
        ended_by_signal(binary, work, signal.SIGQUIT, b"\x1c")  # Ctrl-\
        ended_by_signal(binary, work, signal.SIGINT, b"\x03")   # Ctrl-C
        suspended(binary, work)
    return report()


def report():
    for f in failures:
        print("FAIL", f)
    if failures:
        return 1
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
