#!/usr/bin/env python3
"""File-system situations that the end-to-end runner cannot set up.

files_test.py --binary BUILD/au3shrink

- A full file system: a small tmpfs (mounted here, so root only) that cannot
  hold the output, by bytes and by inodes. The run must fail with
  "error: cannot write output file '...': No space left on device", status 1,
  the previous file unchanged and no temporary file left behind.
- Permissions: an include folder without read permission, one that can be
  searched but not listed, an unreadable include file, an unreadable input,
  an output folder without write permission (a new output fails, a writable
  existing one is written in place), a read-only output (refused), and a
  writable output owned by someone else in a sticky folder like /tmp
  (written in place), and an unreadable include file that the search passes
  over for a readable one in the other include folder, without a warning.
  Root ignores permissions, so as root these runs are made as the user
  nobody through setpriv.
- Memory: an endless input (a pipe from `yes`) under a limit on the address
  space ends in "error: cannot shrink '...': not enough memory", status 1,
  the previous output unchanged and no temporary file left (not for a
  sanitizer build, which needs the address space for itself).
- Replacing: an output keeps its permission bits (set-group-ID and sticky
  too), its owner and group when run as root, and the mode of a new output
  follows the umask; an output that is a symbolic link stays one, its target
  receiving the script, also a target that does not exist yet; a file with
  two hard links stays one file.

Parts that cannot run here (not root, no mount, no setpriv) are reported as
skipped; when nothing could run, the exit status is 77 (skipped for ctest).
"""
import os
import resource
import shutil
import subprocess
import sys
import tempfile

# The shared helpers stand beside this script.
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from reliability_support import (NOBODY, skipped, ran, binary_argument, check, put, get, temps_in,
                                 nobody_command, mount_tmpfs, scratch_folder, report,
                                 runs_as_nobody)

PAUSE = b"Press any key to continue . . . \n"


def shrink(binary, args, cwd, as_nobody=False):
    command = [binary] + args
    if as_nobody:
        command = nobody_command(command)
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
            if not mount_tmpfs(small, options, f"full file system ({label})"):
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
                # Out of bytes, the output fails at the final write, and
                # nothing claims it was written; out of inodes, the temporary
                # file cannot be made and the run fails at the first write.
                if label == "bytes":
                    check(run.stdout.endswith(b"finished: remove empty lines\n\n" + PAUSE) and
                          run.stdout.count(b"file written.") == 1,
                          f"{what}: stdout {run.stdout[-300:]!r}")
                else:
                    check(run.stdout == PAUSE, f"{what}: stdout {run.stdout[:300]!r}")
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
    as_nobody = runs_as_nobody("permissions")
    if as_nobody is None:
        return
    with scratch_folder("au3perm-", "permissions", locked_inside=True) as work:
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
        final_of_main = b"$exact = 1\r\n$main = 1\r\n"

        run = shrink(binary, ["main.au3", "out.au3", ".", "inc", "---"], work, as_nobody)
        check(run.returncode == 0, f"unreadable includes: status {run.returncode}")
        check(run.stderr == b"warning: main.au3:1: cannot open include file 'A.AU3' "
                            b"(looked for 'inc/A.AU3', also in '.') [include-missing]\n"
                            b"warning: main.au3:3: cannot open include file 'listless\\LOWER.AU3' "
                            b"(looked for './LISTLESS/LOWER.AU3', also in 'inc') [include-missing]\n"
                            b"warning: main.au3:4: cannot open include file 'secret.au3' "
                            b"(looked for './SECRET.AU3', also in 'inc') [include-missing]\n",
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
        check(run.returncode == 0 and get(os.path.join(work, target)) == final_of_main,
              f"writable output in a locked folder: status {run.returncode}, stderr {run.stderr!r}")
        check(not temps_in(locked), "writable output in a locked folder: temporary file left")

        target = os.path.join("locked", "new.au3")
        run = shrink(binary, ["main.au3", target, ".", "inc", "---"], work, as_nobody)
        check(run.returncode == 1 and
              run.stderr.endswith(f"error: cannot write output file '{target}': "
                                  f"Permission denied\n".encode()) and
              b"file written." not in run.stdout and run.stdout.endswith(PAUSE),
              f"new output in a locked folder: status {run.returncode}, stderr {run.stderr!r}, "
              f"stdout {run.stdout[:200]!r}")
        check(not os.path.exists(os.path.join(work, target)) and not temps_in(locked),
              "new output in a locked folder: a file was left")

        readonly = os.path.join(work, "readonly.au3")
        put(readonly, b"previous\r\n", 0o444)
        if as_nobody:
            os.chown(readonly, NOBODY, NOBODY)
        run = shrink(binary, ["main.au3", "readonly.au3", ".", "inc", "---"], work, as_nobody)
        check(run.returncode == 1 and run.stderr.endswith(
                  b"error: cannot write output file 'readonly.au3': Permission denied\n"),
              f"read-only output: status {run.returncode}, stderr {run.stderr!r}")
        check(get(readonly) == b"previous\r\n", "read-only output: the file changed")

        if as_nobody:
            # A sticky folder lets nobody rename over root's file, but the
            # file itself is writable: it is written in place, root's still.
            sticky = os.path.join(work, "sticky")
            os.mkdir(sticky)
            os.chmod(sticky, 0o1777)
            shared = os.path.join(sticky, "shared.au3")
            put(shared, b"previous\r\n", 0o666)
            run = shrink(binary, ["main.au3", "sticky/shared.au3", ".", "inc", "---"], work, True)
            check(run.returncode == 0 and get(shared) == final_of_main,
                  f"sticky folder: status {run.returncode}, stderr {run.stderr!r}")
            check(os.stat(shared).st_uid == 0, "sticky folder: the file changed owner")
            check(not temps_in(sticky), "sticky folder: temporary file left")


def replaced_in_place(binary):
    """A replaced output keeps its mode bits, its owner and group (as root),
    a symbolic link stays a link to the file that receives the script (also
    one whose target does not exist yet), hard links stay one file, and a new
    output's mode follows the umask."""
    with scratch_folder("au3keep-", "replaced in place") as work:
        script = b"; comment\r\nx = 1\r\n"
        final = b"x = 1\r\n"
        put(os.path.join(work, "main.au3"), script, 0o600)
        put(os.path.join(work, "out.au3"), b"previous\r\n", 0o640)
        put(os.path.join(work, "special.au3"), b"previous\r\n")
        os.chmod(os.path.join(work, "special.au3"), 0o3664)  # set-group-ID and sticky
        os.mkdir(os.path.join(work, "real"))
        put(os.path.join(work, "real", "target.au3"), b"previous\r\n", 0o604)
        os.symlink(os.path.join("real", "target.au3"), os.path.join(work, "link.au3"))
        os.symlink(os.path.join("real", "new.au3"), os.path.join(work, "dangling.au3"))
        put(os.path.join(work, "linked.au3"), b"previous\r\n", 0o644)
        os.link(os.path.join(work, "linked.au3"), os.path.join(work, "other_name.au3"))
        owned = os.geteuid() == 0
        if owned:
            put(os.path.join(work, "users.au3"), b"previous\r\n", 0o664)
            os.chown(os.path.join(work, "users.au3"), NOBODY, NOBODY)
        outputs = [("out.au3", "out.au3"), ("special.au3", "special.au3"),
                   ("link.au3", "real/target.au3"), ("dangling.au3", "real/new.au3"),
                   ("linked.au3", "other_name.au3"), ("main.au3", "main.au3")]
        if owned:
            outputs.append(("users.au3", "users.au3"))
        for output, shown in outputs:
            run = shrink(binary, ["main.au3", output, ".", ".", "C--"], work)
            check(run.returncode == 0, f"{output}: status {run.returncode}, stderr {run.stderr!r}")
            check(get(os.path.join(work, shown)) == final, f"{output}: not the final script")
        for name in ("link.au3", "dangling.au3"):
            check(os.path.islink(os.path.join(work, name)), f"{name} is no longer a link")
        check(os.path.samefile(os.path.join(work, "linked.au3"),
                               os.path.join(work, "other_name.au3")), "the hard links were split")
        for name, mode in (("out.au3", 0o640), ("special.au3", 0o3664),
                           ("real/target.au3", 0o604), ("main.au3", 0o600)):
            got = os.stat(os.path.join(work, name)).st_mode & 0o7777
            check(got == mode, f"{name}: mode {got:o}, expected {mode:o}")
        if owned:
            info = os.stat(os.path.join(work, "users.au3"))
            check((info.st_uid, info.st_gid) == (NOBODY, NOBODY),
                  f"users.au3: owner {info.st_uid}:{info.st_gid}, expected {NOBODY}:{NOBODY}")
        for mask, mode in ((0o027, 0o640), (0o002, 0o664)):
            name = f"new_{mask:o}.au3"
            run = subprocess.run(["sh", "-c", f'umask {mask:o} && exec "$0" "$@"', binary,
                                  "main.au3", name, ".", ".", "C--"], cwd=work,
                                 stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
            got = os.stat(os.path.join(work, name)).st_mode & 0o7777 \
                if os.path.exists(os.path.join(work, name)) else None
            check(run.returncode == 0 and got == mode,
                  f"new output under umask {mask:03o}: mode {got and oct(got)}, expected {mode:o}")
        check(not temps_in(work) and not temps_in(os.path.join(work, "real")),
              "replaced in place: temporary files left")


def out_of_memory(binary):
    if b"__asan_init" in get(binary):
        skipped.append("out of memory: a sanitizer build reserves the address space itself")
        return
    work = tempfile.mkdtemp(prefix="au3oom-")
    try:
        output = os.path.join(work, "out.au3")
        put(output, b"previous\r\n")

        def limit():
            resource.setrlimit(resource.RLIMIT_AS, (512 << 20, 512 << 20))

        endless = subprocess.Popen(["yes", "$x = 1 ; endless"], stdout=subprocess.PIPE)
        try:
            result = subprocess.run(
                [binary, "--no-pause", "/dev/stdin", "out.au3", ".", ".", "CFG", "1", "x"],
                cwd=work, stdin=endless.stdout, capture_output=True, timeout=120,
                preexec_fn=limit)
        finally:
            endless.kill()
            endless.wait()
        ran.append("out of memory")
        check(result.returncode == 1, f"out of memory: status {result.returncode}, "
                                      f"stderr {result.stderr[-300:]!r}")
        check(result.stderr.endswith(b"error: cannot shrink '/dev/stdin': not enough memory\n"),
              f"out of memory: stderr {result.stderr[-300:]!r}")
        check(get(output) == b"previous\r\n", "out of memory: the output changed")
        check(not temps_in(work), "out of memory: temporary files left")
    finally:
        shutil.rmtree(work, ignore_errors=True)


def include_past_unreadable(binary):
    """An include file that cannot be read is passed over like a missing
    one: the search goes on to the next folder, and no warning is given."""
    as_nobody = runs_as_nobody("include past an unreadable file")
    if as_nobody is None:
        return
    with scratch_folder("au3inc-", "include past an unreadable file", locked_inside=True) as work:
        os.chmod(work, 0o777)
        for folder in ("q", "a"):
            os.mkdir(os.path.join(work, folder))
        put(os.path.join(work, "q", "lib.au3"), b"$locked = 1\r\n", 0o000)
        put(os.path.join(work, "a", "lib.au3"), b"$open = 1\r\n", 0o644)
        put(os.path.join(work, "main.au3"), b'#include "lib.au3"\r\n$main = 1\r\n', 0o644)
        run = shrink(binary, ["main.au3", "out.au3", "q", "a", "---"], work, as_nobody)
        out = os.path.join(work, "out.au3")
        check(run.returncode == 0 and run.stderr == b"",
              f"include past an unreadable file: status {run.returncode}, stderr {run.stderr!r}")
        check(os.path.exists(out) and get(out) == b"$open = 1\r\n$main = 1\r\n",
              "include past an unreadable file: output " +
              (repr(get(out)) if os.path.exists(out) else "missing"))


def main():
    binary = binary_argument()
    replaced_in_place(binary)
    out_of_memory(binary)
    full_file_system(binary)
    permissions(binary)
    include_past_unreadable(binary)
    return report("ok" + (" (as nobody)" if os.geteuid() == 0 else ""))


if __name__ == "__main__":
    sys.exit(main())
