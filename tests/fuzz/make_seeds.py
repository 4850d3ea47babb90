#!/usr/bin/env python3
"""Builds the fuzzer's seed corpus from the end-to-end scenarios and the example.

make_seeds.py OUT_DIR

Each scenario becomes one input in the layout that pipeline_fuzz.cc decodes:
two header bytes (pass letters, mode, runs, include folders, the map and
minify switches), the main script,
then every other file of the scenario after a "\\n#@file NAME\\n" marker.
Include files in the scenario's quoted folder go to the fuzz folder's root,
those in its angle folder under "inc/", so the scenario's includes still hit.
Scenarios whose files do not fit the layout (no main script, very large files
made by setup.sh) are skipped. Nothing here is committed: the corpus is built
at run time.
"""
import hashlib
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
MARKER = b"\n#@file "
MAX_SEED = 64 * 1024


def is_here(folder):
    return folder in ("", ".", "./", ".\\")


def header(args):
    """The two header bytes, and the scenario's folders mapped to fuzz folders."""
    passes = args[4] if len(args) > 4 else ""
    flags = 0
    for bit, (pos, letter) in enumerate(((0, "C"), (1, "F"), (2, "G"))):
        if len(passes) > pos and passes[pos] == letter:
            flags |= 1 << bit
    if len(args) > 6 and args[6][:1] == "C":
        flags |= 0x08
    if args[0] == args[1]:
        flags |= 0x10
    try:
        runs = int(args[5]) if len(args) > 5 else 0
    except ValueError:
        runs = 0
    flags |= max(0, min(runs, 4)) << 5
    quoted, angle = args[2], args[3]
    # Index 0 of the fuzz folders is the work folder itself, index 1 "inc".
    if is_here(quoted) and is_here(angle):
        q, a = 0, 0
    elif is_here(quoted):
        q, a = 0, 1
    elif is_here(angle) or quoted != angle:
        q, a = (1, 0) if is_here(angle) else (0, 1)
    else:
        q, a = 1, 1
    mapping = [(folder.strip("/\\"), "inc/" if index else "")
               for folder, index in ((quoted, q), (angle, a)) if not is_here(folder)]
    # The switches the fuzzer can turn on, as the scenario gives them.
    switches = 0
    for option in args[4:]:
        if option.startswith(("--map", "--metafile")):
            switches |= 0x10
        if option in ("--tree-shaking", "--minify"):
            switches |= 0x20
        if option in ("--minify-whitespace", "--minify"):
            switches |= 0x40
        if option in ("--minify-identifiers", "--minify"):
            switches |= 0x80
    return bytes([flags, q | (a << 2) | switches]), mapping


def place(rel, mapping):
    """Where a scenario file goes in the fuzz folder, or None."""
    rel = rel.replace(os.sep, "/")
    for folder, prefix in mapping:
        if rel.startswith(folder + "/"):
            rel = prefix + rel[len(folder) + 1:]
            break
    parts = rel.split("/")
    if len(parts) > 3 or any(not p or len(p) > 40 for p in parts):
        return None
    return rel


def seed_for(case):
    args_path = os.path.join(case, "args")
    files = os.path.join(case, "files")
    if not os.path.exists(args_path) or not os.path.isdir(files):
        return None
    with open(args_path, "rb") as f:
        args = [a.decode("latin-1") for a in f.read().split(b"\n")]
    if len(args) < 5 or not os.path.isfile(os.path.join(files, args[0])):
        return None
    head, mapping = header(args)
    with open(os.path.join(files, args[0]), "rb") as f:
        data = head + f.read()
    for root, _, names in os.walk(files):
        for name in sorted(names):
            full = os.path.join(root, name)
            rel = os.path.relpath(full, files)
            if rel == args[0]:
                continue
            target = place(rel, mapping)
            if target is None or target in ("main.au3", "out.au3"):
                continue
            with open(full, "rb") as f:
                data += MARKER + target.encode() + b"\n" + f.read()
    return data if len(data) <= MAX_SEED else None


def example_seed():
    examples = os.path.join(ROOT, "examples")
    main = os.path.join(examples, "main.au3")
    if not os.path.isfile(main):
        return None
    with open(main, "rb") as f:
        data = bytes([0x07 | 0x08 | (3 << 5), 0b0100]) + f.read()
    for root, _, names in os.walk(examples):
        for name in sorted(names):
            full = os.path.join(root, name)
            rel = os.path.relpath(full, examples).replace(os.sep, "/")
            if rel == "main.au3":
                continue
            if rel.startswith("include/"):
                rel = "inc/" + rel[len("include/"):]
            with open(full, "rb") as f:
                data += MARKER + rel.encode() + b"\n" + f.read()
    return data


# Small hand-made runs for what the scenarios rarely combine: includes in both
# forms and mixed case, cycles, names with blanks, a folder named as a file.
SYNTHETIC = [
    bytes([0x07 | 0x08 | (2 << 5), 0b0100]) +
    b'#include <a.au3>\r\n#include "B.au3"\r\n#include-once\r\nFunc Main()\r\n  A()\r\nEndFunc\r\n'
    b'Main()\r\n'
    b'\n#@file inc/A.AU3\n#include "b.au3"\r\nFunc A()\r\n  Local $x = 1, $y = 2 ; $x\r\n  Return $x\r\nEndFunc\r\n'
    b'\n#@file b.au3\n#include <A.au3>\r\n#include "My Lib.au3" ; note\r\nFunc B() _\r\n\r\nEndFunc\r\n'
    b'\n#@file My Lib.au3\nGlobal $g = "#cs", $h = \'a;b\'\r\n#Region x\r\n#EndRegion\r\n',
    bytes([0x01 | 0x10, 0b0000]) +
    b'#include "MAIN.AU3"\r\n#include "inc"\r\n#include <>\r\n#include "x.au3\r\n; tail _\r\nx _\r\n',
    bytes([0x06 | (1 << 5), 0b1111]) +
    b'#include <sub/C.au3>\r\n#include <SUB\\c.au3>\r\nFunc C(\r\nFunc\r\nEndFunc\r\nDim $a[3] = [1, 2], $b = ($a, 1), $\r\n'
    b'\n#@file inc/sub/c.au3\nLocal Static $s = 0, $t\r\nEnum $e\r\n',
]


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_seeds.py OUT_DIR")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    cases = os.path.join(ROOT, "tests", "e2e", "cases")
    seeds = [seed_for(os.path.join(cases, c)) for c in sorted(os.listdir(cases))]
    seeds.append(example_seed())
    seeds.extend(SYNTHETIC)
    count = 0
    for seed in seeds:
        if seed is None:
            continue
        name = hashlib.sha1(seed).hexdigest()
        with open(os.path.join(out, name), "wb") as f:
            f.write(seed)
        count += 1
    print(f"{count} seeds in {out}")


if __name__ == "__main__":
    main()
