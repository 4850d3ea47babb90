#!/usr/bin/env python3
"""Kills au3shrink at random moments and checks that no file is ever lost.

kill_test.py --binary BUILD/au3shrink [--kills 300] [--seconds 60] [--lines 300000]
             [--seed 1] [--emulator wine]

A large generated script (bench/generate_script.py, plus one include file;
fewer lines when a whole run takes long, as with sanitizers) is
shrunk again and again with SIGKILL sent after a random delay between 0 and a
little more than a whole run. Every other run writes to a separate output that
holds a previous file; the others write over the input itself. The output is
replaced once, at the end, so after each kill the output path must hold one
of two things, byte for byte:
  - the previous file, which for a run in place is the source itself,
  - the final script (the run got to its final write).
Never the expanded script of the first write, which only measures.
At most one temporary file (".au3shrink-*") may be left: the one that was
being written when the kill came. A process killed with SIGKILL cannot remove
it, so each leftover is counted, reported and removed before the next run.
Every other pair of runs is stopped with SIGTERM or SIGINT instead, which the
tool catches to remove its temporary file: those must leave none.

With --emulator (the Windows build under wine) the signals go to the
emulated process, and most of a run is the emulator starting up: each kill
comes after a random delay counted from the moment the temporary file
appears (the first write), so that it lands while the run works. Wine turns
SIGINT into a console event, which the program handles; SIGTERM ends an
emulated process at once, as TerminateProcess does, and the system removes
the temporary file unless the kill lands inside the final rename: it is
counted like SIGKILL there. So is SIGINT: on a loaded machine a console event
that comes during the final rename can also leave the one file behind. Wine's server removes a temporary file that was marked to
be deleted on close when the process is gone, which may take a moment, so
leftovers are counted after up to two seconds.

Exit status 0 when every kill passed. The number of kills is bounded by
--kills and by --seconds of wall time, whichever comes first.
"""
import argparse
import glob
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
# The shared helpers stand beside this script.
sys.path.insert(0, HERE)
from reliability_support import put, get

GENERATOR = os.path.join(HERE, "..", "..", "bench", "generate_script.py")
TARGET_RUN_SECONDS = 0.25
MIN_LINES = 20000
LIB_LINES = ["; helper library", "Func Lib_Helper($x)", "    Return $x * 2", "EndFunc"]


def expanded_script(main_lines):
    """What the first write measures: the include directive and #include-once
    emptied, the library's lines and one empty line spliced in after the
    directive. It must never stand at the output path."""
    out = []
    for line in main_lines:
        upper = line.upper()
        if "#INCLUDE" not in upper:
            out.append(line)
            continue
        compact = upper.replace(" ", "").replace("\t", "")
        if compact.startswith("#INCLUDE-ONCE"):
            out.append("")
        elif compact == '#INCLUDE"LIB.AU3"':
            out += [""] + LIB_LINES + [""]
        else:
            sys.exit(f"kill_test: unexpected directive in the generated script: {line}")
    return "".join(line + "\r\n" for line in out).encode()


def generate(work, lines):
    """The main script: an include of lib.au3, then a generated script."""
    generated = os.path.join(work, "generated.au3")
    subprocess.run([sys.executable, GENERATOR, generated, "--lines", str(lines),
                    "--functions", str(lines // 50), "--variables", str(lines // 10)], check=True)
    data = b'#include "Lib.au3"\r\n' + get(generated)
    os.remove(generated)
    return data


def run(binary, work, script, output, emulator):
    command = ([emulator] if emulator else []) + [binary, script, output, work, work, "CFG", "3", "."]
    return subprocess.Popen(command, cwd=work, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def emulated_processes(work, proc):
    """The run's processes: under an emulator the program may run in a
    process of its own beside the one started here. Found by their command
    line, which names this test's own folder."""
    found = {proc.pid}
    folder = os.path.basename(work).encode()
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                command = get(f"/proc/{entry}/cmdline")
                if b"au3shrink" in command and folder in command:
                    found.add(int(entry))
            except OSError:
                pass
    return found


def wait_for_run(work, proc, emulator):
    """The exit status of the process started here; under an emulator it can
    end before the program does, so this also waits for the program."""
    status = proc.wait()
    deadline = time.monotonic() + 60
    while emulator and emulated_processes(work, proc) - {proc.pid}:
        if time.monotonic() > deadline:
            sys.exit("kill_test: the emulated program does not end")
        time.sleep(0.01)
    return status


def wait_for_temp(work, proc, limit):
    started = time.monotonic()
    while (not glob.glob(os.path.join(work, ".au3shrink-*")) and proc.poll() is None
           and time.monotonic() - started < limit):
        time.sleep(0.002)


def time_after_first_write(binary, work, script, output, emulator):
    """How long an emulated run works after its temporary file appears."""
    proc = run(binary, work, script, output, emulator)
    wait_for_temp(work, proc, 30)
    seen = time.monotonic()
    wait_for_run(work, proc, emulator)
    return max(time.monotonic() - seen, 0.01)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--binary", required=True)
    p.add_argument("--kills", type=int, default=300)
    p.add_argument("--seconds", type=float, default=60)
    p.add_argument("--lines", type=int, default=300000)
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--emulator", default="")
    a = p.parse_args()
    binary = os.path.abspath(a.binary)
    rnd = random.Random(a.seed)
    work = tempfile.mkdtemp(prefix="au3kill-")
    try:
        script = os.path.join(work, "main.au3")
        separate = os.path.join(work, "out.au3")
        put(os.path.join(work, "lib.au3"), "".join(l + "\r\n" for l in LIB_LINES).encode())
        lines = a.lines
        while True:
            main_bytes = generate(work, lines)
            put(script, main_bytes)
            start = time.monotonic()
            proc = run(binary, work, script, separate, a.emulator)
            if wait_for_run(work, proc, a.emulator) != 0:
                sys.exit("kill_test: the uninterrupted run failed")
            whole_run = time.monotonic() - start
            # A slow build (sanitizers) gets a smaller script, so that a few
            # hundred kills still fit into the time allowed.
            if whole_run <= 2 * TARGET_RUN_SECONDS or lines <= MIN_LINES:
                break
            lines = max(MIN_LINES, int(lines * TARGET_RUN_SECONDS / whole_run))
        expanded = expanded_script(main_bytes.decode("latin-1").split("\r\n")[:-1])
        previous = b"; the previous shrunk script\r\nMsgBox(0, 'old', 'file')\r\n" * 1000
        final = get(separate)
        if final in (previous, expanded, main_bytes) or not final:
            sys.exit("kill_test: the final script is not distinct from the other states")
        print(f"script: {lines} lines, {len(main_bytes)} bytes, expanded {len(expanded)}, "
              f"final {len(final)}; a whole run takes {whole_run:.3f} s")

        working = whole_run
        if a.emulator:
            working = time_after_first_write(binary, work, script, separate, a.emulator)
            print(f"under {a.emulator}: {working:.3f} s from the first write to the end")
        counts = {"previous": 0, "source": 0, "final": 0, "completed": 0}
        leftovers = 0
        failures = []
        kills = 0
        deadline = time.monotonic() + a.seconds
        while kills < a.kills and time.monotonic() < deadline:
            in_place = kills % 2 == 1
            output = script if in_place else separate
            put(script, main_bytes)
            if not in_place:
                put(separate, previous)
            before = main_bytes if in_place else previous
            delay = rnd.uniform(0, whole_run * 1.1)
            proc = run(binary, work, script, output, a.emulator)
            if a.emulator:
                delay = rnd.uniform(0, working * 1.1)
                # Never during the emulator's start-up: a launcher killed
                # then can leave a process that never starts.
                wait_for_temp(work, proc, 30)
            time.sleep(delay)
            catchable = (kills // 2) % 2 == 1
            sig = (signal.SIGTERM if kills % 4 == 2 else signal.SIGINT) if catchable else signal.SIGKILL
            if a.emulator:
                for pid in emulated_processes(work, proc):
                    try:
                        os.kill(pid, sig)
                    except ProcessLookupError:
                        pass
            else:
                proc.send_signal(sig)
            status = wait_for_run(work, proc, a.emulator)
            kills += 1
            got = get(output) if os.path.exists(output) else None
            if status == 0:
                counts["completed"] += 1
            if got == before:
                counts["source" if in_place else "previous"] += 1
            elif got == final:
                counts["final"] += 1
            else:
                state = ("missing" if got is None else
                         "the expanded script" if got == expanded else f"{len(got)} bytes")
                failures.append(f"kill {kills} after {delay:.3f} s ({'in place' if in_place else 'separate'}"
                                f" output): {state}, starting {(got or b'')[:60]!r}")
            if not in_place and get(script) != main_bytes:
                failures.append(f"kill {kills}: the input script changed")
            if a.emulator:
                catchable = False
            temps = glob.glob(os.path.join(work, ".au3shrink-*"))
            settle = time.monotonic() + (2 if a.emulator else 0)
            while temps and time.monotonic() < settle:
                time.sleep(0.05)
                temps = glob.glob(os.path.join(work, ".au3shrink-*"))
            if len(temps) > (0 if catchable else 1):
                failures.append(f"kill {kills} ({sig.name}): {len(temps)} temporary files left")
            leftovers += len(temps)
            for temp in temps:
                os.remove(temp)

        print(f"{kills} kills: previous file {counts['previous']}, source intact (in place) "
              f"{counts['source']}, final script {counts['final']} "
              f"(of which {counts['completed']} runs had completed)")
        print(f"temporary files left by killed runs: {leftovers} (removed after each kill)")
        for failure in failures[:20]:
            print("FAIL", failure)
        if failures:
            return 1
        if kills < 20:
            print(f"FAIL only {kills} kills fitted into {a.seconds} s")
            return 1
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
