#!/usr/bin/env python3
"""File-system situations that the end-to-end runner cannot set up.

files_test.py --binary BUILD/au3shrink

- A full file system: a small tmpfs (mounted here, so root only) that cannot
  hold the output, by bytes and by inodes. The run must fail with
  "error: cannot write output file '...': No space left on device", status 1,
  the previous file unchanged and no temporary file left behind.
- Permissions: an include folder without read permission, one that can be
  searched but not listed, an unreadable include file, an unreadable input
  and an output folder without write permission. Root ignores permissions,
  so as root these runs are made as the user nobody through setpriv.
- Replacing: an output keeps its permission bits, and an output that is a
  symbolic link stays one, its target receiving the script.

Parts that cannot run here (not root, no mount, no setpriv) are reported as
skipped; when nothing could run, the exit status is 77 (skipped for ctest).
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

NOBODY = 65534
PAUSE = b"Press any key to continue . . . \n"
failures = []
skipped = []
ran = []


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


def shrink(binary, args, cwd, as_nobody=False):
    command = [binary] + args
    if as_nobody:
        command = ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups"] + command
    return subprocess.run(command, cwd=cwd, stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=60)


def full_file_system(binary):
    if os.geteuid() != 0:
        skipped.append("full file system: needs root to mount a tmpfs")
        return
    work = tempfile.mkdtemp(prefix="au3full-")
    small = os.path.join(work, "small")
    os.mkdir(small)
    # One script far larger than the file system, one output holding a previous file.
    script = os.path.join(work, "main.au3")
    put(script, b"MsgBox(0, 'a line of the script', 'that fills the disk')\r\n" * 20000)
    previous = b"; previous output\r\n"
    mounted = []
    try:
        for label, options in (("bytes", "size=256k"), ("inodes", "size=4m,nr_inodes=3")):
            result = subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", small],
                                    capture_output=True)
            if result.returncode != 0:
                skipped.append(f"full file system ({label}): mount failed: "
                               f"{result.stderr.decode(errors='replace').strip()}")
                continue
            mounted.append(small)
            ran.append(label)
            try:
                out = os.path.join(small, "out.au3")
                put(out, previous)
                # Fill the inode table, keeping the one file that is to survive.
                for n in range(10):
                    try:
                        put(os.path.join(small, f"filler{n}"), b"")
                    except OSError:
                        break
                run = shrink(binary, [script, out, work, work, "CFG", "1", "."], work)
                what = f"full file system ({label})"
                check(run.returncode == 1, f"{what}: status {run.returncode}, expected 1")
                check(run.stderr == f"error: cannot write output file '{out}': "
                                   f"No space left on device\n".encode(),
                      f"{what}: stderr {run.stderr!r}")
                check(run.stdout == PAUSE, f"{what}: stdout {run.stdout[:200]!r}")
                check(get(out) == previous, f"{what}: the previous file changed")
                check(not temps_in(small), f"{what}: temporary files left: {temps_in(small)}")
            finally:
                subprocess.run(["umount", small], check=True)
                mounted.pop()
    finally:
        for m in mounted:
            subprocess.run(["umount", m])
        shutil.rmtree(work, ignore_errors=True)


def permissions(binary):
    as_nobody = os.geteuid() == 0
    if as_nobody and shutil.which("setpriv") is None:
        skipped.append("permissions: running as root and setpriv is missing")
        return
    work = tempfile.mkdtemp(prefix="au3perm-")
    ran.append("permissions")
    try:
        os.chmod(work, 0o777)
        inc = os.path.join(work, "inc")
        listless = os.path.join(work, "listless")
        locked = os.path.join(work, "locked")
        for folder in (inc, listless, locked):
            os.mkdir(folder)
        put(os.path.join(inc, "a.au3"), b"$a = 1\r\n")
        put(os.path.join(listless, "EXACT.AU3"), b"$exact = 1\r\n")
        put(os.path.join(listless, "lower.au3"), b"$lower = 1\r\n")
        put(os.path.join(work, "secret.au3"), b"$secret = 1\r\n", 0o000)
        os.chmod(inc, 0o000)        # neither listed nor searched
        os.chmod(listless, 0o111)   # searched (exact names open) but not listed
        put(os.path.join(locked, "out.au3"), b"previous\r\n", 0o666)
        os.chmod(locked, 0o555)     # no new file (the temporary one) can be made in it
        put(os.path.join(work, "main.au3"),
            b'#include <A.AU3>\r\n#include "listless\\EXACT.AU3"\r\n'
            b'#include "listless\\LOWER.AU3"\r\n#include "secret.au3"\r\n$main = 1\r\n', 0o644)
        put(os.path.join(work, "unreadable.au3"), b"$x = 1\r\n", 0o000)

        run = shrink(binary, ["main.au3", "out.au3", ".", "inc", "---"], work, as_nobody)
        check(run.returncode == 0, f"unreadable includes: status {run.returncode}")
        check(run.stderr == b"warning: main.au3:1: cannot open include file 'A.AU3' "
                            b"(looked for 'inc/A.AU3', also in '.')\n"
                            b"warning: main.au3:3: cannot open include file 'listless\\LOWER.AU3' "
                            b"(looked for './LISTLESS/LOWER.AU3', also in 'inc')\n"
                            b"warning: main.au3:4: cannot open include file 'secret.au3' "
                            b"(looked for './SECRET.AU3', also in 'inc')\n",
              f"unreadable includes: stderr {run.stderr!r}")
        check(b"start: search/read: .\\LISTLESS\\EXACT.AU3...\n" in run.stdout and
              run.stdout.endswith(PAUSE), f"unreadable includes: stdout {run.stdout[:300]!r}")
        out = os.path.join(work, "out.au3")
        check(os.path.exists(out) and get(out) == b"$exact = 1\r\n$main = 1\r\n",
              "unreadable includes: output " + (repr(get(out)) if os.path.exists(out) else "missing"))

        run = shrink(binary, ["unreadable.au3", "out.au3", ".", ".", "---"], work, as_nobody)
        check(run.returncode == 1 and run.stdout == PAUSE and
              run.stderr == b"error: cannot read input file 'unreadable.au3': Permission denied\n",
              f"unreadable input: status {run.returncode}, stderr {run.stderr!r}")

        target = os.path.join("locked", "out.au3")
        run = shrink(binary, ["main.au3", target, ".", "inc", "---"], work, as_nobody)
        check(run.returncode == 1 and
              run.stderr.endswith(f"error: cannot write output file '{target}': "
                                  f"Permission denied\n".encode()),
              f"output folder not writable: status {run.returncode}, stderr {run.stderr!r}")
        check(get(os.path.join(work, target)) == b"previous\r\n",
              "output folder not writable: the previous file changed")
        check(not temps_in(locked), "output folder not writable: temporary file left")
    finally:
        subprocess.run(["chmod", "-R", "u+rwx", work], stderr=subprocess.DEVNULL)
        shutil.rmtree(work, ignore_errors=True)


def replaced_in_place(binary):
    """A replaced output keeps its permission bits, and a symbolic link stays a
    link to the file that receives the script."""
    work = tempfile.mkdtemp(prefix="au3keep-")
    ran.append("replaced in place")
    try:
        script = b"; comment\r\nx = 1\r\n"
        final = b"x = 1\r\n"
        put(os.path.join(work, "main.au3"), script, 0o600)
        put(os.path.join(work, "out.au3"), b"previous\r\n", 0o640)
        os.mkdir(os.path.join(work, "real"))
        put(os.path.join(work, "real", "target.au3"), b"previous\r\n", 0o604)
        os.symlink(os.path.join("real", "target.au3"), os.path.join(work, "link.au3"))
        for output, shown in (("out.au3", "out.au3"), ("link.au3", "real/target.au3"),
                              ("main.au3", "main.au3")):
            run = shrink(binary, ["main.au3", output, ".", ".", "C--"], work)
            check(run.returncode == 0, f"{output}: status {run.returncode}, stderr {run.stderr!r}")
            check(get(os.path.join(work, shown)) == final, f"{output}: not the final script")
        check(os.path.islink(os.path.join(work, "link.au3")), "link.au3 is no longer a link")
        for name, mode in (("out.au3", 0o640), ("real/target.au3", 0o604), ("main.au3", 0o600)):
            got = os.stat(os.path.join(work, name)).st_mode & 0o7777
            check(got == mode, f"{name}: mode {got:o}, expected {mode:o}")
        check(not temps_in(work) and not temps_in(os.path.join(work, "real")),
              "replaced in place: temporary files left")
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--binary", required=True)
    binary = os.path.abspath(p.parse_args().binary)
    replaced_in_place(binary)
    full_file_system(binary)
    permissions(binary)
    for s in skipped:
        print("skipped:", s)
    for f in failures:
        print("FAIL", f)
    if failures:
        return 1
    if not ran:
        return 77
    print("ok" + (" (as nobody)" if os.geteuid() == 0 else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main())
