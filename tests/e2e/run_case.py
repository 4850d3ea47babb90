#!/usr/bin/env python3
"""Runs au3shrink on one end-to-end scenario and compares the results.

A scenario is a folder:
  args               the program's arguments, one per line (empty lines are
                     empty arguments)
  files/             copied into a fresh work folder, where the program runs
  setup.sh           optional, run in the work folder before the program
  linux-only         optional marker: skipped for the Windows build
  windows-only       optional marker: skipped for the Linux build
  stdin-open         optional marker: standard input is a pipe that stays open
                     (and empty) instead of /dev/null, so a run that waits for
                     a key press fails by timeout
  expected/stdout    standard output, timing figures masked as #.###, with
                     @VERSION@ standing for the version given by --version
                     (may be left out when expected/sha256 lists it)
  expected/stderr    standard error (must be empty when this file is absent)
  expected/merged    optional: standard output and error of a second run in
                     one stream, masked like stdout, for the order of the two
  expected/stderr-windows  optional: standard error of the Windows build, when
                     it differs (paths shown with backslashes)
  expected/status    exit status (0 when absent)
  expected/files/    every file here must exist in the work folder afterwards
                     with exactly these bytes
  expected/files-windows/  optional: such a file as the Windows build writes
                     it, when it differs (a line map names paths with
                     backslashes)
  expected/absent    optional: paths, one per line, that must not exist
                     (glob patterns: .au3shrink-* catches leftover temp files)
  expected/sha256    optional, for outputs too large to keep in the tree:
                     lines "<sha256>  <path>", the path relative to the work
                     folder, or "-" for the masked standard output

--update rewrites expected/ from an actual run (review the diff!); with
--emulator it writes only expected/stderr-windows and expected/files-windows.
"""
import argparse
import glob
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile

# A timing right-aligned in its field, with the blanks before it: a run of 10
# seconds or more has one digit more and one blank less.
TIMING = re.compile(rb"( *)(\d+)\.\d{3} seconds")
PAUSE_PROMPT = b"Press any key to continue . . . "


def mask(stdout, windows):
    if windows:
        stdout = stdout.replace(b"\r\n", b"\n")
    stdout = TIMING.sub(lambda m: b" " * (len(m.group(1)) + len(m.group(2)) - 1) + b"#.### seconds",
                        stdout)
    # The pause prompt is the command interpreter's own on Windows.
    cut = stdout.rfind(b"Press any key")
    if windows and cut >= 0:
        stdout = stdout[:cut] + PAUSE_PROMPT + b"\n"
    return stdout


def read(path):
    with open(path, "rb") as f:
        return f.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--emulator", default="")
    parser.add_argument("--case", required=True)
    parser.add_argument("--update", action="store_true")
    parser.add_argument("--timeout", type=float, default=120)
    parser.add_argument("--version", default="", help="the program's version, for @VERSION@")
    opts = parser.parse_args()

    case = os.path.abspath(opts.case)
    windows = bool(opts.emulator)
    if windows and os.path.exists(os.path.join(case, "linux-only")):
        print("skipped: Linux-only scenario")
        return 0
    if not windows and os.path.exists(os.path.join(case, "windows-only")):
        print("skipped: Windows-only scenario")
        return 0

    with open(os.path.join(case, "args"), "rb") as f:
        args = [os.fsdecode(a) for a in f.read().split(b"\n")]
    if args and args[-1] == "":
        args.pop()

    merged = None
    merged_path = os.path.join(case, "expected", "merged")
    if os.path.exists(merged_path):
        # A first run with both streams in one pipe, in a work folder of its own.
        proc, work = run_in_fresh_folder(case, opts, args, merge=True)
        remove(work)
        if proc is None:
            return 1
        merged = mask(proc.stdout, windows)

    proc, work = run_in_fresh_folder(case, opts, args, merge=False)
    try:
        if proc is None:
            return 1
        stdout = mask(proc.stdout, windows)
        stderr = proc.stderr.replace(b"\r\n", b"\n") if windows else proc.stderr

        expected = os.path.join(case, "expected")
        if opts.update and windows:
            update_windows_files(expected, work)
            return update_windows_stderr(expected, stderr)
        if opts.update:
            if merged is not None:
                with open(merged_path, "wb") as f:
                    f.write(merged)
            return update(expected, work, stdout, stderr, proc.returncode)

        failures = []
        want_status = int(read(os.path.join(expected, "status"))) if os.path.exists(
            os.path.join(expected, "status")) else 0
        if proc.returncode != want_status:
            failures.append(f"exit status {proc.returncode}, expected {want_status}")
        if merged is not None and merged != read(merged_path):
            failures.append("stdout and stderr in one stream differ:\n" +
                            diff(read(merged_path), merged))
        stdout_path = os.path.join(expected, "stdout")
        if os.path.exists(stdout_path):
            want_stdout = read(stdout_path).replace(b"@VERSION@", opts.version.encode())
            if stdout != want_stdout:
                failures.append("stdout differs:\n" + diff(want_stdout, stdout))
        for digest, rel in read_sha256(expected):
            got = stdout if rel == "-" else (read(os.path.join(work, rel)) if os.path.exists(
                os.path.join(work, rel)) else None)
            what = "stdout" if rel == "-" else f"file {rel}"
            if got is None:
                failures.append(f"missing output file {rel}")
            elif hashlib.sha256(got).hexdigest() != digest:
                failures.append(f"{what} differs: sha256 {hashlib.sha256(got).hexdigest()}, "
                                f"{len(got)} bytes, starts {got[:200]!r}")
        stderr_path = os.path.join(expected, "stderr")
        if windows and os.path.exists(stderr_path + "-windows"):
            stderr_path += "-windows"
        want_stderr = read(stderr_path) if os.path.exists(stderr_path) else b""
        if stderr != want_stderr:
            failures.append("stderr differs:\n" + diff(want_stderr, stderr))
        want_files = os.path.join(expected, "files")
        for root, _, names in os.walk(want_files):
            for name in names:
                rel = os.path.relpath(os.path.join(root, name), want_files)
                got_path = os.path.join(work, rel)
                want_path = os.path.join(root, name)
                windows_path = os.path.join(expected, "files-windows", rel)
                if windows and os.path.exists(windows_path):
                    want_path = windows_path
                if not os.path.exists(got_path):
                    failures.append(f"missing output file {rel}")
                elif read(got_path) != read(want_path):
                    failures.append(f"file {rel} differs:\n" +
                                    diff(read(want_path), read(got_path)))
        absent = os.path.join(expected, "absent")
        if os.path.exists(absent):
            for rel in read(absent).decode().split():
                if glob.glob(os.path.join(glob.escape(work), rel), recursive=True):
                    failures.append(f"{rel} should not exist")
        if failures:
            print(f"FAIL {os.path.basename(case)}")
            for failure in failures:
                print(failure)
            return 1
        print(f"ok {os.path.basename(case)}")
        return 0
    finally:
        remove(work)


# Now and then, on a busy machine, wine itself fails to start the program:
# its launcher says so and the program never ran.
WINE_LAUNCH_FAILED = b"ShellExecuteEx failed"


def run_in_fresh_folder(case, opts, args, merge):
    """Sets up a new work folder and runs the program there. Returns the
    finished process (None on a hang) and the folder, which the caller
    removes. A run that wine could not start is made again, twice at most,
    each time in a new folder."""
    for attempt in range(3):
        work = tempfile.mkdtemp(prefix="au3e2e-")
        try:
            proc = run_in(work, case, opts, args, merge)
        except BaseException:
            remove(work)
            raise
        not_started = (opts.emulator and proc is not None and proc.returncode != 0 and
                       WINE_LAUNCH_FAILED in proc.stdout + (proc.stderr or b""))
        if not not_started or attempt == 2:
            return proc, work
        print(f"note: wine could not start the program; run again ({attempt + 1})")
        remove(work)


def run_in(work, case, opts, args, merge):
    files = os.path.join(case, "files")
    if os.path.isdir(files):
        shutil.copytree(files, work, dirs_exist_ok=True, symlinks=True)
    setup = os.path.join(case, "setup.sh")
    if os.path.exists(setup):
        subprocess.run(["bash", setup], cwd=work, check=True)
    command = ([opts.emulator] if opts.emulator else []) + [os.path.abspath(opts.binary)] + args
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    keep_stdin_open = os.path.exists(os.path.join(case, "stdin-open"))
    stdin_read, stdin_write = os.pipe() if keep_stdin_open else (
        os.open(os.devnull, os.O_RDONLY), -1)
    try:
        return subprocess.run(command, cwd=work, stdin=stdin_read, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT if merge else subprocess.PIPE,
                              timeout=opts.timeout, env=env)
    except subprocess.TimeoutExpired:
        print(f"FAIL {os.path.basename(case)}")
        print(f"no result after {opts.timeout:g} seconds (a hang, a wait for a key press, "
              "or slower than linear)")
        return None
    finally:
        os.close(stdin_read)
        if stdin_write >= 0:
            os.close(stdin_write)


def remove(work):
    subprocess.run(["chmod", "-R", "u+rwx", work], stderr=subprocess.DEVNULL)
    shutil.rmtree(work, ignore_errors=True)


def read_sha256(expected):
    path = os.path.join(expected, "sha256")
    if not os.path.exists(path):
        return []
    return [tuple(line.split(None, 1)) for line in read(path).decode().splitlines() if line.strip()]


def diff(want, got):
    import difflib
    lines = difflib.unified_diff(want.decode("latin-1").splitlines(True),
                                 got.decode("latin-1").splitlines(True), "expected", "actual", n=2)
    text = "".join(lines)
    return text if len(text) < 6000 else text[:6000] + "\n...\n"


def update_windows_files(expected, work):
    """The files the Windows build writes otherwise go to files-windows."""
    want_files = os.path.join(expected, "files")
    for root, _, names in os.walk(want_files):
        for name in names:
            rel = os.path.relpath(os.path.join(root, name), want_files)
            got_path = os.path.join(work, rel)
            windows_path = os.path.join(expected, "files-windows", rel)
            if os.path.exists(got_path) and read(got_path) != read(os.path.join(root, name)):
                os.makedirs(os.path.dirname(windows_path), exist_ok=True)
                shutil.copyfile(got_path, windows_path)
            elif os.path.exists(windows_path):
                os.remove(windows_path)


def update_windows_stderr(expected, stderr):
    """The Windows build's run updates only what may differ there: stderr."""
    path = os.path.join(expected, "stderr")
    common = read(path) if os.path.exists(path) else b""
    if stderr != common:
        with open(path + "-windows", "wb") as f:
            f.write(stderr)
    elif os.path.exists(path + "-windows"):
        os.remove(path + "-windows")
    print("updated", path + "-windows")
    return 0


def update(expected, work, stdout, stderr, status):
    os.makedirs(expected, exist_ok=True)
    hashed = read_sha256(expected)
    if hashed:
        with open(os.path.join(expected, "sha256"), "w") as f:
            for _, rel in hashed:
                got = stdout if rel == "-" else read(os.path.join(work, rel))
                f.write(f"{hashlib.sha256(got).hexdigest()}  {rel}\n")
    if not any(rel == "-" for _, rel in hashed):
        with open(os.path.join(expected, "stdout"), "wb") as f:
            f.write(stdout)
    stderr_path = os.path.join(expected, "stderr")
    if stderr:
        with open(stderr_path, "wb") as f:
            f.write(stderr)
    elif os.path.exists(stderr_path):
        os.remove(stderr_path)
    status_path = os.path.join(expected, "status")
    if status:
        with open(status_path, "w") as f:
            f.write(f"{status}\n")
    elif os.path.exists(status_path):
        os.remove(status_path)
    want_files = os.path.join(expected, "files")
    if os.path.isdir(want_files):
        for root, _, names in os.walk(want_files):
            for name in names:
                rel = os.path.relpath(os.path.join(root, name), want_files)
                got_path = os.path.join(work, rel)
                if os.path.exists(got_path):
                    shutil.copyfile(got_path, os.path.join(root, name))
    print("updated", expected)
    return 0


if __name__ == "__main__":
    sys.exit(main())
