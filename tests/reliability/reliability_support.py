"""What the reliability scripts share: the record of checks, skips and parts
run, file and folder helpers, the scripts they shrink, how a run is started,
signalled mid-write or run as nobody, and the closing report."""
import argparse
import contextlib
import functools
import os
import resource
import shutil
import signal
import subprocess
import tempfile
import time

NOBODY = 65534
# The signals that end a run by default, as the scripts send them one by one.
SIGNALS = ["SIGHUP", "SIGINT", "SIGQUIT", "SIGTERM", "SIGUSR1", "SIGUSR2", "SIGPIPE", "SIGALRM",
           "SIGXCPU", "SIGXFSZ", "SIGVTALRM", "SIGPROF", "SIGABRT", "SIGIO", "SIGPWR", "SIGRTMIN"]
SMALL_SCRIPT = b"; comment\r\n$x = 1\r\nMsgBox(0, $x, 'shown')\r\n"
SMALL_FINAL = b"$x = 1\r\nMsgBox(0, $x, 'shown')\r\n"

failures = []
skipped = []
ran = []


@functools.lru_cache(maxsize=None)
def big_script(lines):
    """A script of `lines` declarations and as many calls: some hundred
    milliseconds of work between the first write and the last."""
    return b"".join(b"Local $v%d = %d ; note\r\nMsgBox(0, $v%d, 1)\r\n" % (i, i, i)
                    for i in range(lines))


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


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


def nobody_command(command):
    """`command` run as the user nobody, with no groups."""
    return ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups"] + command


def runs_as_nobody(part):
    """Whether the part runs the program as nobody: as root, to whom no
    permission is refused, it must. None, with the part reported skipped,
    when it must and setpriv is missing."""
    as_nobody = os.geteuid() == 0
    if as_nobody and shutil.which("setpriv") is None:
        skipped.append(f"{part}: running as root and setpriv is missing")
        return None
    return as_nobody


def shrink(binary, args, cwd, **kwargs):
    """A run with no pause, no input and its streams captured unless told otherwise."""
    kwargs.setdefault("stdin", subprocess.DEVNULL)
    kwargs.setdefault("capture_output", True)
    return subprocess.run([binary, "--no-pause"] + args, cwd=cwd, timeout=60, **kwargs)


def no_core_files():
    resource.setrlimit(resource.RLIMIT_CORE, (0, 0))


def signal_while_writing(command, work, sig, temps=1, preexec_fn=no_core_files):
    """Runs `command` in `work` and sends `sig` while the run holds `temps`
    temporary files there; the status, or None when the run never held them
    long enough (it then ends as it would)."""
    proc = subprocess.Popen(command, cwd=work, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            preexec_fn=preexec_fn)
    while len(temps_in(work)) < temps and proc.poll() is None:
        time.sleep(0.0005)
    if proc.poll() is None:
        proc.send_signal(signal.SIGSTOP)
        # Stopped with its temporary files still there: the signal lands
        # while they exist.
        if len(temps_in(work)) >= temps:
            proc.send_signal(sig)
            proc.send_signal(signal.SIGCONT)
            return proc.wait()
        proc.send_signal(signal.SIGCONT)
    proc.wait()
    return None


def mount_tmpfs(folder, options, part):
    """Mounts a tmpfs with `options` on `folder`; where that fails, the part
    is reported skipped with the reason, and False returned."""
    result = subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", folder],
                            capture_output=True)
    if result.returncode != 0:
        skipped.append(f"{part}: mount failed: {result.stderr.decode(errors='replace').strip()}")
        return False
    return True


@contextlib.contextmanager
def scratch_folder(prefix, part, locked_inside=False):
    """A new folder for one part, which counts as run; removed after it,
    once made writable again where the part took permissions away."""
    work = tempfile.mkdtemp(prefix=prefix)
    ran.append(part)
    try:
        yield work
    finally:
        if locked_inside:
            subprocess.run(["chmod", "-R", "u+rwx", work], stderr=subprocess.DEVNULL)
        shutil.rmtree(work, ignore_errors=True)


def binary_argument():
    """The program under test, from --binary, as an absolute path."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    return os.path.abspath(parser.parse_args().binary)


def report(ok_line="ok"):
    """Prints what was skipped and what failed; the exit status: 1 on a
    failure, 77 (skipped for ctest) when nothing could run, else 0."""
    for what in skipped:
        print("skipped:", what)
    for failure in failures:
        print("FAIL", failure)
    if failures:
        return 1
    if not ran:
        return 77
    print(ok_line)
    return 0
