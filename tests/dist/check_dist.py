#!/usr/bin/env python3
"""Checks release archives: python3 check_dist.py [--wineprefix DIR] ARCHIVE...

Each archive (.tar.gz for Linux, .zip for Windows) is unpacked into a fresh
folder; it must hold the program, README.md, LICENSE and every page the README
links to (docs/), beside the README as in the source tree. The program in it
shrinks the bundled example with every pass; it must end with status 0, and
every archive's program must write the same bytes. A Linux program must be
statically linked; a Windows program runs under wine in its own prefix, where
no DLL of the compiler's runtime can be found, so a dynamically linked one
fails to start.
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tarfile
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.dirname(HERE))
import wine_prefix  # noqa: E402

PT_INTERP = 3


def unpack(archive, into):
    if archive.endswith(".zip"):
        with zipfile.ZipFile(archive) as z:
            z.extractall(into)
    else:
        with tarfile.open(archive) as t:
            if hasattr(tarfile, "data_filter"):
                t.extractall(into, filter="data")
            else:
                t.extractall(into)


def find(folder, name):
    for root, _, names in os.walk(folder):
        if name in names:
            return os.path.join(root, name)
    return None


def missing_linked_pages(readme):
    """The pages that the README, or a page reached from it, links to by a
    relative path and that are not in the archive."""
    missing, seen, todo = set(), set(), [os.path.abspath(readme)]
    while todo:
        page = todo.pop()
        if page in seen:
            continue
        seen.add(page)
        with open(page, encoding="utf-8") as f:
            # Code spans hold no links: `$a[0](` is code, not a link.
            text = re.sub(r"`[^`\n]*`", "", f.read())
            links = re.findall(r"\]\(([^)#]*)[^)]*\)", text)
        for link in links:
            if not link or "://" in link:
                continue
            target = os.path.normpath(os.path.join(os.path.dirname(page), link))
            if not os.path.isfile(target):
                missing.add(os.path.relpath(target, os.path.dirname(readme)))
            elif target.endswith(".md"):
                todo.append(target)
    return sorted(missing)


def has_interpreter(elf_path):
    """Whether an ELF program asks for a dynamic loader (PT_INTERP)."""
    with open(elf_path, "rb") as f:
        data = f.read()
    if data[:4] != b"\x7fELF" or data[4] != 2:
        raise ValueError(f"{elf_path} is not a 64-bit ELF file")
    order = "<" if data[5] == 1 else ">"
    phoff, = struct.unpack_from(order + "Q", data, 0x20)
    phentsize, phnum = struct.unpack_from(order + "HH", data, 0x36)
    return any(struct.unpack_from(order + "I", data, phoff + i * phentsize)[0] == PT_INTERP
               for i in range(phnum))


def check(archive, work, wineprefix):
    """Returns (failures, bytes of the shrunk example)."""
    failures = []
    unpack(archive, work)
    windows = archive.endswith(".zip")
    program = find(work, "au3shrink.exe" if windows else "au3shrink")
    for name in ("README.md", "LICENSE"):
        if not find(work, name):
            failures.append(f"no {name} in the archive")
    readme = find(work, "README.md")
    if readme:
        failures += [f"the README links to {page}, which is not in the archive"
                     for page in missing_linked_pages(readme)]
    if not program:
        return failures + ["no program in the archive"], None
    if not windows and has_interpreter(program):
        failures.append("the program is linked dynamically")
    example = os.path.join(work, "example")
    shutil.copytree(os.path.join(ROOT, "examples"), example)
    command = [program, "--no-pause", "main.au3", "small.au3", ".", "include", "CFG", "3", "C"]
    env = None
    if windows:
        wine_prefix.create(wineprefix)
        env = wine_prefix.environment(wineprefix)
        command.insert(0, "wine")
    proc = subprocess.run(command, cwd=example, stdin=subprocess.DEVNULL, capture_output=True,
                          env=env, timeout=300)
    if proc.returncode != 0:
        failures.append(f"exit status {proc.returncode}; stderr:\n{proc.stderr.decode(errors='replace')}")
    if b"Finished!!!" not in proc.stdout:
        failures.append("no complete report on standard output")
    small = os.path.join(example, "small.au3")
    if not os.path.exists(small):
        return failures + ["no shrunk script written"], None
    with open(small, "rb") as f:
        return failures, f.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wineprefix", default="build-dist/wineprefix")
    parser.add_argument("archives", nargs="+")
    opts = parser.parse_args()
    outputs = {}
    failed = False
    for archive in opts.archives:
        name = os.path.basename(archive)
        if not os.path.exists(archive):
            print(f"FAIL {name}: missing")
            failed = True
            continue
        work = tempfile.mkdtemp(prefix="au3dist-")
        try:
            failures, output = check(archive, work, opts.wineprefix)
        finally:
            shutil.rmtree(work, ignore_errors=True)
        if output is not None:
            outputs[name] = output
        print(("FAIL " if failures else "ok ") + name)
        for failure in failures:
            print("  " + failure)
        failed = failed or bool(failures)
    if len(set(outputs.values())) > 1:
        print("FAIL the programs wrote different scripts: " +
              ", ".join(f"{name} {len(data)} bytes" for name, data in outputs.items()))
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
