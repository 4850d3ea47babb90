#!/usr/bin/env python3
"""The map and metafile are as safe as the output, and read back as written.

written_files_test.py --binary BUILD/au3shrink

- Clashes: a map or metafile that names the input, an included file, the
  output or the other one, by another spelling (./x, an absolute path,
  folder/../x, a doubled slash), through a symbolic link or a hard link, is
  an error naming both paths before anything is written: status 1, every
  file as it was, no temporary file, no "file written." in the report.
- All or nothing: a map that cannot be written (a 1 MB tmpfs, mounted here,
  so root only) or past `ulimit -f` replaces no file: status 1, the error
  names the map, the output (also the input, rewritten in place) as it was.
- Every ending signal while the output, map and metafile are all under way
  ends the run by that signal and leaves no temporary file.
- --where reads a source as the run read it: UTF-16 LE and BE with a code
  unit that holds the byte 0x0A, and a UTF-8 mark before line 1.
- A path with a line feed and a carriage return keeps the map at one line
  per output line, and --where reads it back.

Parts that cannot run here are reported as skipped; when nothing could run,
the exit status is 77 (skipped for ctest).
"""
import os
import resource
import shutil
import signal
import subprocess
import sys
import tempfile

# The shared helpers stand beside this script.
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from reliability_support import (SIGNALS, skipped, ran, binary_argument, check, put, get, temps_in,
                                 shrink, signal_while_writing, mount_tmpfs, scratch_folder, report)


def snapshot(folder):
    """Every file under `folder` with its bytes."""
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            if not os.path.islink(path):
                files[os.path.relpath(path, folder)] = get(path)
    return files


def clashes(binary):
    with scratch_folder("au3clash-", "clashes") as work:
        os.mkdir(os.path.join(work, "lib"))
        put(os.path.join(work, "main.au3"), b'#include "lib\\util.au3"\r\nFunc F()\r\nEndFunc\r\n'
            b"MsgBox(0, $x, 1)\r\n")
        put(os.path.join(work, "lib", "util.au3"), b"$x = 1\r\n")
        put(os.path.join(work, "out.au3"), b"; previous output\r\n")
        put(os.path.join(work, "old.map"), b"previous map\r\n")
        os.symlink("main.au3", os.path.join(work, "soft.au3"))
        os.link(os.path.join(work, "lib", "util.au3"), os.path.join(work, "hard.au3"))
        base = ["main.au3", "out.au3", ".", ".", "CFG", "1", "."]
        cases = [
            (["--map=./main.au3"], "map file './main.au3'", "the input file 'main.au3'"),
            ([f"--map={work}/main.au3"], f"map file '{work}/main.au3'", "the input file 'main.au3'"),
            (["--metafile=lib/../main.au3"], "metafile 'lib/../main.au3'",
             "the input file 'main.au3'"),
            (["--map=.//main.au3"], "map file './/main.au3'", "the input file 'main.au3'"),
            (["--map=soft.au3"], "map file 'soft.au3'", "the input file 'main.au3'"),
            (["--metafile=lib/util.au3"], "metafile 'lib/util.au3'", "the included file"),
            (["--map=hard.au3"], "map file 'hard.au3'", "the included file"),
            (["--map=./out.au3"], "map file './out.au3'", "the output file 'out.au3'"),
            (["--map=old.map", f"--metafile={work}/old.map"], f"metafile '{work}/old.map'",
             "the map file 'old.map'"),
            # Neither there yet: one name in one folder.
            (["--map=new.map", "--metafile=./new.map"], "metafile './new.map'",
             "the map file 'new.map'"),
        ]
        before = snapshot(work)
        for options, written, other in cases:
            run = shrink(binary, base + options, work)
            what = f"clash {' '.join(options)}"
            check(run.returncode == 1, f"{what}: status {run.returncode}")
            check(run.stderr.startswith(f"error: cannot write {written}: it is the same file as "
                                        f"{other}".encode()) and run.stderr.count(b"\n") == 1,
                  f"{what}: stderr {run.stderr!r}")
            check(b"file written." not in run.stdout, f"{what}: the report says a file was written")
            check(snapshot(work) == before, f"{what}: a file changed")
            check(not temps_in(work), f"{what}: temporary files left")
        # A new output and a new map by two spellings of one name.
        run = shrink(binary, ["main.au3", "new.au3", ".", ".", "C--", "--map=./new.au3"], work)
        check(run.returncode == 1 and b"it is the same file as the output file 'new.au3'"
              in run.stderr and not os.path.exists(os.path.join(work, "new.au3")),
              f"new output as the map: status {run.returncode}, stderr {run.stderr!r}")
        # The output may be the input (in place), with a map beside it.
        run = shrink(binary, ["./main.au3", "main.au3", ".", ".", "C--", "--map=main.map"], work)
        check(run.returncode == 0 and get(os.path.join(work, "main.map")).count(b"\r\n") == 4,
              f"in place with a map: status {run.returncode}, stderr {run.stderr!r}")


def map_on_full_disk(binary):
    if os.geteuid() != 0:
        skipped.append("map on a full file system: needs root to mount a tmpfs")
        return
    work = tempfile.mkdtemp(prefix="au3fullmap-")
    small = os.path.join(work, "small")
    os.mkdir(small)
    mounted = False
    # 1.3 MB of output, 1.5 MB of map, 4.7 MB of metafile: neither fits in 1 MB.
    script = b"".join(b"Func Fn%d()\r\nMsgBox(0, 1, 2)\r\nEndFunc\r\nFn%d()\r\n" % (i, i)
                      for i in range(25000))
    try:
        if not mount_tmpfs(small, "size=1m", "map on a full file system"):
            return
        mounted = True
        ran.append("map on a full file system")
        put(os.path.join(small, "old.map"), b"previous map\r\n")
        previous = b"; previous output\r\n"
        for in_place in (False, True):
            put(os.path.join(work, "main.au3"), script)
            put(os.path.join(work, "out.au3"), previous)
            output = "main.au3" if in_place else "out.au3"
            for option in ("--map=small/old.map", "--metafile=small/old.json"):
                what = f"{option} on a full file system{' (in place)' if in_place else ''}"
                extra = [option] if option.startswith("--map") else ["--map=map.map", option]
                run = shrink(binary, ["main.au3", output, ".", ".", "CFG", "1", "."] + extra, work)
                shown = option.split("=", 1)[1]
                role = "map file" if option.startswith("--map") else "metafile"
                check(run.returncode == 1 and run.stderr.endswith(
                          f"error: cannot write {role} '{shown}': No space left on device\n"
                          .encode()), f"{what}: status {run.returncode}, stderr {run.stderr[-300:]!r}")
                check(run.stdout.count(b"file written.") == 1, f"{what}: stdout {run.stdout[-200:]!r}")
                check(get(os.path.join(work, "main.au3")) == script, f"{what}: the input changed")
                check(get(os.path.join(work, "out.au3")) == previous, f"{what}: the output changed")
                check(get(os.path.join(small, "old.map")) == b"previous map\r\n",
                      f"{what}: the map changed")
                check(not os.path.exists(os.path.join(work, "map.map")),
                      f"{what}: the map was written")
                check(not temps_in(work) and not temps_in(small), f"{what}: temporary files left")
    finally:
        if mounted:
            subprocess.run(["umount", small], check=True)
        shutil.rmtree(work, ignore_errors=True)


def map_past_the_file_size_limit(binary):
    """ulimit -f: the output fits, the map does not; nothing is replaced."""
    with scratch_folder("au3fsizemap-", "map past the file size limit") as work:
        script = b"".join(b"Func Fn%d()\r\nMsgBox(0, 1, 2)\r\nEndFunc\r\nFn%d()\r\n" % (i, i)
                          for i in range(25000))
        put(os.path.join(work, "main.au3"), script)
        put(os.path.join(work, "out.au3"), b"; previous\r\n")

        def limit():
            resource.setrlimit(resource.RLIMIT_FSIZE, (1400 << 10, resource.RLIM_INFINITY))

        run = subprocess.run([binary, "--no-pause", "main.au3", "out.au3", ".", ".", "CFG", "1",
                              ".", "--map=out.map"], cwd=work, stdin=subprocess.DEVNULL,
                             capture_output=True, timeout=60, preexec_fn=limit)
        what = "map past the file size limit"
        check(run.returncode == 1 and
              run.stderr == b"error: cannot write map file 'out.map': File too large\n",
              f"{what}: status {run.returncode}, stderr {run.stderr!r}")
        check(get(os.path.join(work, "out.au3")) == b"; previous\r\n", f"{what}: output changed")
        check(not os.path.exists(os.path.join(work, "out.map")) and not temps_in(work),
              f"{what}: files left: {os.listdir(work)}")


def signals_with_map_and_metafile(binary):
    with scratch_folder("au3sigmap-", "signals with map and metafile") as work:
        put(os.path.join(work, "main.au3"),
            b"".join(b"Local $v%d = %d\r\nMsgBox(0, $v%d, 1)\r\n" % (i, i, i) for i in range(150000)))
        previous = b"; previous\r\n"
        args = [binary, "--no-pause", "main.au3", "out.au3", ".", ".", "CFG", "2", ".",
                "--map=out.map", "--metafile=out.json"]
        for name in SIGNALS:
            if not hasattr(signal, name):
                continue
            sig = getattr(signal, name)
            for leftover in temps_in(work):
                os.remove(os.path.join(work, leftover))
            for name_ in ("out.au3", "out.map", "out.json"):
                put(os.path.join(work, name_), previous)
            for attempt in range(5):
                status = signal_while_writing(args, work, sig, temps=3)
                if status is not None:
                    break
                for name_ in ("out.au3", "out.map", "out.json"):
                    put(os.path.join(work, name_), previous)
            else:
                check(False, f"{name}: the run never held its three temporary files")
                continue
            check(status == -sig, f"{name}: status {status}, expected {-sig}")
            check(not temps_in(work), f"{name}: temporary files left: {temps_in(work)}")
            for name_ in ("out.au3", "out.map", "out.json"):
                check(get(os.path.join(work, name_)) == previous, f"{name}: {name_} changed")


def where_reads_as_the_run(binary):
    with scratch_folder("au3where-", "--where reads as the run") as work:
        # U+0A0A and U+010A hold the byte 0x0A in either order.
        lines = ["; a comment", "$a = '\u0a0a\u010a'", "Func Unused()", "EndFunc", "MsgBox(0, $a, 1)"]
        text = "\r\n".join(lines) + "\r\n"
        sources = {"le.au3": b"\xff\xfe" + text.encode("utf-16-le"),
                   "be.au3": b"\xfe\xff" + text.encode("utf-16-be"),
                   "marked.au3": b"\xef\xbb\xbf" + "\r\n".join(lines[1:]).encode() + b"\r\n"}
        for name, data in sources.items():
            put(os.path.join(work, name), data)
            run = shrink(binary, [name, "out.au3", ".", ".", "CFG", "1", ".", "--map=out.map"],
                         work)
            check(run.returncode == 0, f"--where {name}: status {run.returncode}, {run.stderr!r}")
            first = 1 if name == "marked.au3" else 2
            run = subprocess.run([binary, "--where", "out.map", "1", "2"], cwd=work,
                                 capture_output=True, timeout=60)
            want = (f"{name}:{first}: {lines[1]}\n{name}:{first + 3}: {lines[4]}\n").encode()
            check(run.returncode == 0 and run.stdout == want and run.stderr == b"",
                  f"--where {name}: stdout {run.stdout!r}, stderr {run.stderr!r}")


def path_with_a_line_feed(binary):
    with scratch_folder("au3feed-", "a path with a line feed") as work:
        odd = 'in\nput\r"x".au3'
        put(os.path.join(work, odd), b"$x = 1\r\n; comment\r\nMsgBox(0, $x, 1)\r\n")
        run = shrink(binary, [odd, "out.au3", ".", ".", "C--", "--map=out.map"], work)
        check(run.returncode == 0, f"line feed: status {run.returncode}, stderr {run.stderr!r}")
        mapped = get(os.path.join(work, "out.map"))
        check(mapped == b'"in\\nput\\r\\"x\\".au3":1\r\n"in\\nput\\r\\"x\\".au3":3\r\n',
              f"line feed: map {mapped!r}")
        run = subprocess.run([binary, "--where", "out.map", "2"], cwd=work, capture_output=True,
                             timeout=60)
        check(run.returncode == 0 and run.stdout == b'"in\\nput\\r\\"x\\".au3":3: MsgBox(0, $x, 1)\n',
              f"line feed: --where {run.stdout!r}, {run.stderr!r}")


def main():
    binary = binary_argument()
    clashes(binary)
    map_on_full_disk(binary)
    map_past_the_file_size_limit(binary)
    signals_with_map_and_metafile(binary)
    where_reads_as_the_run(binary)
    path_with_a_line_feed(binary)
    return report()


if __name__ == "__main__":
    sys.exit(main())
