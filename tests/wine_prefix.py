#!/usr/bin/env python3
"""Creates a wine prefix for the Windows builds' tests: python3 wine_prefix.py PREFIX

A prefix that is complete (marked by the file au3-ready) is left as it is; an
incomplete one, left by an interrupted creation, is made anew. The prefix gets
no Mono, no Gecko and no desktop menu entries: nothing is downloaded and
nothing is written outside it.
"""
import os
import shutil
import subprocess
import sys

READY = "au3-ready"


def environment(prefix):
    """The environment in which wine uses `prefix` and stays quiet."""
    env = dict(os.environ)
    env["WINEPREFIX"] = os.path.abspath(prefix)
    env["WINEDEBUG"] = "-all"
    return env


def create(prefix):
    prefix = os.path.abspath(prefix)
    if os.path.exists(os.path.join(prefix, READY)):
        return
    shutil.rmtree(prefix, ignore_errors=True)
    os.makedirs(os.path.dirname(prefix), exist_ok=True)
    env = environment(prefix)
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml,winemenubuilder.exe=d"
    # wineboot returns before the server has written the registry.
    for command in (["wineboot", "-i"], ["wineserver", "-w"]):
        done = subprocess.run(command, env=env, stdin=subprocess.DEVNULL, capture_output=True)
        if done.returncode != 0:
            sys.stderr.write(done.stdout.decode(errors="replace") + done.stderr.decode(errors="replace"))
            raise SystemExit(f"{' '.join(command)} failed with status {done.returncode} in {prefix}")
    with open(os.path.join(prefix, READY), "w"):
        pass


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__.splitlines()[0])
    create(sys.argv[1])
