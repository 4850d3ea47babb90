#!/usr/bin/env python3
"""How a run ends, and outputs the shell can write.

ends_test.py --binary BUILD/au3shrink

- Signals: a run is sent each signal whose default action ends a process
  (through kill, while its temporary file exists: the run is stopped with
  SIGSTOP, the signal sent, then SIGCONT). It must end by that signal, leave
  no temporary file and the output as it was; also when the output is written
  in place (a file with two hard links).
- A file size limit (`ulimit -f`): "error: cannot write output file 'OUT':
  File too large", status 1, the output as it was, no temporary file; the
  same for an output written in place.
- Standard output and standard error that cannot be written (`--help` to
  /dev/full, `--version` with standard output closed, a run whose report goes
  to /dev/full, to a closed descriptor or to a pipe nobody reads, a warning to
  a full standard error): status 1 and "error: cannot write standard output:
  REASON" on standard error where it can be written; the output file complete
  and free of report text.
- Outputs the shell can write: /dev/stdout on a pipe, /dev/fd/N and
  /proc/self/fd/N on a pipe, and a pipe whose reader is gone ("Broken pipe",
  status 1); an output path near the system's limit on a path's length, new
  and replaced.
- In place onto a full file system (a small tmpfs, mounted here, so root
  only): the complete script goes to the system's temporary folder (TMPDIR)
  and the file is rewritten; with no room anywhere the source stays intact;
  when the rewrite itself fails, the error names the temporary file, which
  holds the complete script.

Parts that cannot run here are reported as skipped; when nothing could run,
the exit status is 77 (skipped for ctest).
"""
import errno
import os
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import threading

# The shared helpers stand beside this script.
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from reliability_support import (SIGNALS, SMALL_SCRIPT, SMALL_FINAL, skipped, ran, big_script,
                                 binary_argument, check, put, get, temps_in, shrink,
                                 signal_while_writing, mount_tmpfs, scratch_folder, report)


def signals(binary):
    with scratch_folder("au3sig-", "signals") as work:
        put(os.path.join(work, "main.au3"), big_script(400000))
        previous = b"; previous output\r\n"
        for number, name in enumerate(SIGNALS):
            if not hasattr(signal, name):
                continue
            sig = getattr(signal, name)
            # Every third run writes in place: a file with a second hard link.
            in_place = number % 3 == 2
            out = os.path.join(work, "out.au3")
            other = os.path.join(work, "other.au3")
            for leftover in temps_in(work) + ["other.au3"]:
                if os.path.exists(os.path.join(work, leftover)):
                    os.remove(os.path.join(work, leftover))
            put(out, previous)
            if in_place:
                os.link(out, other)
            what = f"{name}{' (in place)' if in_place else ''}"
            for attempt in range(5):
                status = signal_while_writing([binary, "--no-pause", "main.au3", "out.au3", ".",
                                               ".", "CFG", "3", "."], work, sig)
                if status is not None:
                    break
                put(out, previous)
            else:
                check(False, f"{what}: the run never held a temporary file long enough")
                continue
            check(status == -sig, f"{what}: status {status}, expected {-sig}")
            check(get(out) == previous, f"{what}: the output changed")
            check(not temps_in(work), f"{what}: temporary files left: {temps_in(work)}")


def signal_while_rewriting(binary):
    """A signal while a file written in place is rewritten: the copy that
    holds the complete script stays, and standard error names it."""
    work = tempfile.mkdtemp(prefix="au3rewrite-")
    try:
        put(os.path.join(work, "main.au3"), big_script(400000))
        run = shrink(binary, ["main.au3", "final.au3", ".", ".", "C--"], work)
        final_size = os.path.getsize(os.path.join(work, "final.au3"))
        out = os.path.join(work, "out.au3")
        previous = b"; previous\r\n"
        for attempt in range(20):
            for leftover in temps_in(work) + ["other.au3"]:
                if os.path.exists(os.path.join(work, leftover)):
                    os.remove(os.path.join(work, leftover))
            put(out, previous)
            os.link(out, os.path.join(work, "other.au3"))
            proc = subprocess.Popen([binary, "--no-pause", "main.au3", "out.au3", ".", ".", "C--"],
                                    cwd=work, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.PIPE)
            caught = False
            while proc.poll() is None and not caught:
                temps = temps_in(work)
                try:
                    complete = temps and os.path.getsize(os.path.join(work, temps[0])) == final_size
                except OSError:
                    complete = False
                if complete:
                    proc.send_signal(signal.SIGSTOP)
                    # The copy is complete and the rewrite under way.
                    if temps_in(work) == temps and \
                            len(previous) < os.path.getsize(out) < final_size:
                        proc.send_signal(signal.SIGTERM)
                        caught = True
                    proc.send_signal(signal.SIGCONT)
            stderr = proc.communicate()[1]
            if not caught:
                continue
            ran.append("signal while rewriting")
            kept = temps_in(work)
            what = "SIGTERM while rewriting in place"
            check(proc.returncode == -signal.SIGTERM, f"{what}: status {proc.returncode}")
            check(len(kept) == 1 and stderr ==
                  f"error: cannot write output file 'out.au3': interrupted; the complete script is in "
                  f"'{kept[0]}'\n".encode(), f"{what}: stderr {stderr!r}, kept {kept}")
            check(len(kept) == 1 and
                  get(os.path.join(work, kept[0])) == get(os.path.join(work, "final.au3")),
                  f"{what}: the kept file is not the final script")
            return
        skipped.append("signal while rewriting: no signal landed during the rewrite in 20 runs")
    finally:
        shutil.rmtree(work, ignore_errors=True)


def file_size_limit(binary):
    with scratch_folder("au3fsize-", "file size limit") as work:
        # The final script is about 1.3 MB; the limit is 200 KB.
        put(os.path.join(work, "main.au3"), b"; comment\r\nMsgBox(0, 'a line', 'of the script')\r\n"
            * 40000)
        previous = b"; previous output\r\n"

        def limit():
            resource.setrlimit(resource.RLIMIT_FSIZE, (200 << 10, resource.RLIM_INFINITY))

        for in_place in (False, True):
            out = os.path.join(work, "out.au3")
            put(out, previous)
            if in_place:
                os.link(out, os.path.join(work, "other.au3"))
            what = f"file size limit{' (in place)' if in_place else ''}"
            run = shrink(binary, ["main.au3", "out.au3", ".", ".", "C--"], work, preexec_fn=limit)
            check(run.returncode == 1, f"{what}: status {run.returncode}")
            check(run.stderr == b"error: cannot write output file 'out.au3': File too large\n",
                  f"{what}: stderr {run.stderr!r}")
            check(get(out) == previous, f"{what}: the output changed")
            check(not temps_in(work), f"{what}: temporary files left")
            if in_place:
                check(os.path.samefile(out, os.path.join(work, "other.au3")),
                      f"{what}: the links were split")


def standard_streams(binary):
    with scratch_folder("au3std-", "standard streams") as work:
        put(os.path.join(work, "main.au3"), SMALL_SCRIPT)
        put(os.path.join(work, "warn.au3"), b'#include "missing.au3"\r\n' + SMALL_SCRIPT)
        full_error = b"error: cannot write standard output: No space left on device\n"
        closed_error = b"error: cannot write standard output: Bad file descriptor\n"
        with open("/dev/full", "wb") as full:
            run = shrink(binary, ["--help"], work, stdout=full, stderr=subprocess.PIPE,
                         capture_output=False)
            check(run.returncode == 1 and run.stderr == full_error,
                  f"--help to /dev/full: status {run.returncode}, stderr {run.stderr!r}")
            run = shrink(binary, ["main.au3", "out.au3", ".", ".", "C--"], work, stdout=full,
                         stderr=subprocess.PIPE, capture_output=False)
            check(run.returncode == 1 and run.stderr == full_error,
                  f"report to /dev/full: status {run.returncode}, stderr {run.stderr!r}")
            check(get(os.path.join(work, "out.au3")) == SMALL_FINAL,
                  "report to /dev/full: the output is not the final script")
            # Standard error full: nothing can say so but the status.
            run = shrink(binary, ["warn.au3", "warned.au3", ".", ".", "C--"], work,
                         stdout=subprocess.DEVNULL, stderr=full, capture_output=False)
            check(run.returncode == 1, f"warning to a full stderr: status {run.returncode}")
        run = subprocess.run(["sh", "-c", 'exec "$0" --version >&-', binary], cwd=work,
                             capture_output=True, timeout=60)
        check(run.returncode == 1 and run.stderr == closed_error,
              f"--version with stdout closed: status {run.returncode}, stderr {run.stderr!r}")
        # Closed, its descriptor must not go to a file the run opens: the
        # report would land in the output.
        run = subprocess.run(["sh", "-c", 'exec "$0" main.au3 closed.au3 . . C-- >&-', binary],
                             cwd=work, stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        check(run.returncode == 1 and run.stderr == closed_error,
              f"run with stdout closed: status {run.returncode}, stderr {run.stderr!r}")
        check(get(os.path.join(work, "closed.au3")) == SMALL_FINAL,
              "run with stdout closed: the output is not the final script")
        # A reader that is gone: the output is still written, then the lost
        # report is an error.
        read_end, write_end = os.pipe()
        os.close(read_end)
        try:
            run = shrink(binary, ["main.au3", "piped.au3", ".", ".", "C--"], work, stdout=write_end,
                         stderr=subprocess.PIPE, capture_output=False)
        finally:
            os.close(write_end)
        check(run.returncode == 1 and
              run.stderr == b"error: cannot write standard output: Broken pipe\n",
              f"report to a closed pipe: status {run.returncode}, stderr {run.stderr!r}")
        check(get(os.path.join(work, "piped.au3")) == SMALL_FINAL,
              "report to a closed pipe: the output is not the final script")
        check(not temps_in(work), "standard streams: temporary files left")


def read_all_in_background(fd, into):
    def reader():
        with os.fdopen(fd, "rb") as f:
            into.append(f.read())
    thread = threading.Thread(target=reader)
    thread.start()
    return thread


def pipe_outputs(binary):
    with scratch_folder("au3pipe-", "pipe outputs") as work:
        put(os.path.join(work, "main.au3"), SMALL_SCRIPT)
        run = shrink(binary, ["main.au3", "/dev/stdout", ".", ".", "C--"], work)
        check(run.returncode == 0 and SMALL_FINAL in run.stdout,
              f"/dev/stdout on a pipe: status {run.returncode}, stderr {run.stderr!r}")
        for form in ("/dev/fd/{}", "/proc/self/fd/{}"):
            read_end, write_end = os.pipe()
            got = []
            thread = read_all_in_background(read_end, got)
            try:
                run = shrink(binary, ["main.au3", form.format(write_end), ".", ".", "C--"], work,
                             pass_fds=(write_end,))
            finally:
                os.close(write_end)
            thread.join(60)
            what = form.format("N") + " on a pipe"
            check(run.returncode == 0, f"{what}: status {run.returncode}, stderr {run.stderr!r}")
            check(got == [SMALL_FINAL], f"{what}: read {got!r}")
        read_end, write_end = os.pipe()
        os.close(read_end)
        try:
            run = shrink(binary, ["main.au3", f"/dev/fd/{write_end}", ".", ".", "C--"], work,
                         pass_fds=(write_end,))
        finally:
            os.close(write_end)
        check(run.returncode == 1 and run.stderr ==
              f"error: cannot write output file '/dev/fd/{write_end}': Broken pipe\n".encode(),
              f"pipe without a reader: status {run.returncode}, stderr {run.stderr!r}")
        check(not temps_in(work), "pipe outputs: temporary files left")

        # A path one byte short of the limit (PATH_MAX counts the final NUL),
        # through nested folders; the temporary name beside it is longer.
        limit = os.pathconf(work, "PC_PATH_MAX")
        name = "o.au3"
        folder = work
        while True:
            room = limit - 1 - len(folder) - 1 - len(name)  # for more "/folder" parts
            if room < 2:
                break
            part = min(200, room - 1)
            if room - (part + 1) == 1:
                part -= 1
            folder = os.path.join(folder, "d" * part)
        out = os.path.join(folder, name)
        os.makedirs(os.path.dirname(out))
        check(len(out) == limit - 1, f"long path: {len(out)} bytes, wanted {limit - 1}")
        for state in ("new", "replaced"):
            run = shrink(binary, ["main.au3", out, ".", ".", "C--"], work)
            check(run.returncode == 0 and get(out) == SMALL_FINAL,
                  f"long path ({state}): status {run.returncode}, stderr {run.stderr[:200]!r}")
            check(not temps_in(os.path.dirname(out)), f"long path ({state}): temporary file left")


def fill(folder):
    """Fills the file system under `folder` to its last byte."""
    fd = os.open(os.path.join(folder, "filler"), os.O_WRONLY | os.O_CREAT | os.O_APPEND)
    try:
        while True:
            os.write(fd, b"\0" * 4096)
    except OSError as e:
        if e.errno != errno.ENOSPC:
            raise
    finally:
        os.close(fd)


def in_place_onto_full_disk(binary):
    if os.geteuid() != 0:
        skipped.append("in place onto a full file system: needs root to mount a tmpfs")
        return
    work = tempfile.mkdtemp(prefix="au3inplace-")
    small = os.path.join(work, "small")
    roomy = os.path.join(work, "roomy")
    os.mkdir(small)
    os.mkdir(roomy)
    mounted = False
    # Half comments: the final script is half the source, so it fits where
    # the source was, but not beside it.
    source = b"; a comment line that the shrunk script drops, as long as the next\r\n" \
             b"MsgBox(0, 'a line that the shrunk script keeps', 'as it is now')\r\n" * 1500
    final = b"MsgBox(0, 'a line that the shrunk script keeps', 'as it is now')\r\n" * 1500
    try:
        if not mount_tmpfs(small, "size=512k", "in place onto a full file system"):
            return
        mounted = True
        ran.append("in place onto a full file system")
        script = os.path.join(small, "main.au3")
        put(script, source)
        os.link(script, os.path.join(small, "link.au3"))
        fill(small)
        args = ["main.au3", "main.au3", ".", ".", "C--"]

        # No room anywhere: the source stays as it was.
        run = shrink(binary, args, small, env=dict(os.environ, TMPDIR=small))
        what = "in place, no room anywhere"
        check(run.returncode == 1 and
              run.stderr == b"error: cannot write output file 'main.au3': No space left on device\n",
              f"{what}: status {run.returncode}, stderr {run.stderr!r}")
        check(get(script) == source, f"{what}: the source changed")
        check(not temps_in(small), f"{what}: temporary files left")

        # Room in the system's temporary folder: the run completes.
        run = shrink(binary, args, small, env=dict(os.environ, TMPDIR=roomy))
        what = "in place, the copy in TMPDIR"
        check(run.returncode == 0, f"{what}: status {run.returncode}, stderr {run.stderr!r}")
        check(get(script) == final, f"{what}: not the final script")
        check(os.path.samefile(script, os.path.join(small, "link.au3")), f"{what}: links split")
        check(not temps_in(small) and not temps_in(roomy), f"{what}: temporary files left")

        # The rewrite needs more room than the file had: it fails, and the
        # error names the complete copy, which stays.
        out = os.path.join(small, "out.au3")
        os.remove(os.path.join(small, "filler"))
        put(out, b"; previous\r\n")
        os.link(out, os.path.join(small, "out_link.au3"))
        put(os.path.join(work, "big.au3"), source)
        fill(small)
        run = shrink(binary, ["../big.au3", "out.au3", ".", ".", "C--"], small,
                     env=dict(os.environ, TMPDIR=roomy))
        what = "in place, the rewrite fails"
        kept = temps_in(roomy)
        check(run.returncode == 1 and len(kept) == 1 and run.stderr ==
              f"error: cannot write output file 'out.au3': No space left on device; the complete "
              f"script is in '{roomy}/{kept[0]}'\n".encode(),
              f"{what}: status {run.returncode}, stderr {run.stderr!r}, kept {kept}")
        check(len(kept) == 1 and get(os.path.join(roomy, kept[0])) == final,
              f"{what}: the kept file is not the final script")
        check(not temps_in(small), f"{what}: temporary files left beside the output")
    finally:
        if mounted:
            subprocess.run(["umount", small], check=True)
        shutil.rmtree(work, ignore_errors=True)


def main():
    binary = binary_argument()
    signals(binary)
    signal_while_rewriting(binary)
    file_size_limit(binary)
    standard_streams(binary)
    pipe_outputs(binary)
    in_place_onto_full_disk(binary)
    return report()


if __name__ == "__main__":
    sys.exit(main())
