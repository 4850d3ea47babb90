#!/usr/bin/env python3
"""Holds a minified run against the same run without the minify options
(with --tree-shaking for --minify, which turns it on).

A tokenizer of its own (strings, comments, numbers, $names, @macros, words,
operators; blanks dropped) reads both outputs line by line. The minified
output's renamed names are mapped back through the metafile's "renamed"
list; then both must hold the same tokens on every line. Names renamed
compare without regard to letter case (one new name stands for every way
the name was written); every other token must be as it was.

token_check.py --binary BIN --case CASE_DIR      a golden scenario's files and args
token_check.py --binary BIN --generate LINES     a generated benchmark script
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
MINIFY_OPTIONS = ("--minify", "--minify-whitespace", "--minify-identifiers")

TOKEN = re.compile(r"""
    (?P<blank>[ \t]+)
  | (?P<comment>;.*)
  | (?P<string>"(?:[^"]|"")*"?|'(?:[^']|'')*'?)
  | (?P<variable>\$[A-Za-z0-9_]+)
  | (?P<macro>@[A-Za-z0-9_]+)
  | (?P<number>[0-9][A-Za-z0-9_]*(?:\.[0-9][A-Za-z0-9_]*)?)
  | (?P<word>[A-Za-z_][A-Za-z0-9_]*)
  | (?P<op><=|>=|<>|==|[-+*/&]=|.)
""", re.VERBOSE)


def tokens(line):
    out = []
    after_dot = False
    for m in TOKEN.finditer(line):
        kind = m.lastgroup
        if kind == "blank":
            continue
        out.append((kind, m.group(), after_dot))
        after_dot = m.group() == "."
    return out


def directive_or_block(line, in_block):
    """Lines that the minifier must leave alone but for the blanks around them."""
    text = line.strip(" \t")
    return in_block or text.startswith("#")


def compare(plain_lines, mini_lines, renamed):
    functions = {r["to"].upper(): r["from"] for r in renamed if r["kind"] == "function"}
    variables = {r["to"][1:].upper(): r["from"][1:] for r in renamed if r["kind"] == "variable"}
    if len(plain_lines) != len(mini_lines):
        return f"line counts differ: {len(plain_lines)} plain, {len(mini_lines)} minified"
    in_block = False
    for number, (plain, mini) in enumerate(zip(plain_lines, mini_lines), 1):
        stripped = plain.strip(" \t").lower()
        opens = stripped.startswith("#cs") or stripped.startswith("#comments-start")
        if directive_or_block(plain, in_block) or opens:
            if plain.strip(" \t") != mini.strip(" \t") and mini != plain:
                return f"line {number}: a directive or comment-block line changed: {plain!r} -> {mini!r}"
            if opens:
                in_block = True
            if in_block and ("#ce" in stripped or "#comments-end" in stripped) and not opens:
                in_block = False
            continue
        a = tokens(plain)
        b = tokens(mini)
        if len(a) != len(b):
            return f"line {number}: {len(a)} tokens plain, {len(b)} minified: {plain!r} -> {mini!r}"
        for (ka, ta, _), (kb, tb, member) in zip(a, b):
            back = tb
            renamed_here = False
            if kb == "variable" and tb[1:].upper() in variables:
                back, renamed_here = "$" + variables[tb[1:].upper()], True
            elif kb == "word" and not member and tb.upper() in functions:
                back, renamed_here = functions[tb.upper()], True
            same = back.upper() == ta.upper() if renamed_here else back == ta
            if ka != kb or not same:
                return f"line {number}: {ta!r} became {tb!r}: {plain!r} -> {mini!r}"
    return None


def run(binary, work, args):
    proc = subprocess.run([binary] + args + ["--no-pause"], cwd=work, stdin=subprocess.DEVNULL,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=300)
    if proc.returncode != 0:
        sys.exit(f"{' '.join(args)}: exit {proc.returncode}: {proc.stderr.decode(errors='replace')}")


def read_lines(path):
    with open(path, "rb") as f:
        data = f.read()
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
    text = data.decode("utf-8", errors="surrogateescape")
    lines = text.split("\r\n")
    if lines and lines[-1] == "":
        lines.pop()
    return lines


def check(binary, work, args):
    """args: the minified run's arguments, output as the second."""
    plain_args = [a for a in args if a not in MINIFY_OPTIONS and not a.startswith("--metafile=")
                  and not a.startswith("--map=") and not a.startswith("--why=")]
    plain_args[1] = "token-check-plain.au3"
    if "--minify" in args:
        plain_args.append("--tree-shaking")  # which --minify turns on too
    mini_args = [a for a in args if not a.startswith("--metafile=")]
    mini_args[1] = "token-check-mini.au3"
    mini_args.append("--metafile=token-check.json")
    run(binary, work, plain_args)
    run(binary, work, mini_args)
    with open(os.path.join(work, "token-check.json"), encoding="utf-8") as f:
        meta = json.load(f)
    plain = read_lines(os.path.join(work, "token-check-plain.au3"))
    mini = read_lines(os.path.join(work, "token-check-mini.au3"))
    return compare(plain, mini, meta.get("renamed", []))


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--binary", required=True)
    p.add_argument("--case")
    p.add_argument("--generate", type=int)
    p.add_argument("--wide", action="store_true")
    a = p.parse_args()
    binary = os.path.abspath(a.binary)
    work = tempfile.mkdtemp(prefix="au3tokens-")
    try:
        if a.case:
            shutil.copytree(os.path.join(a.case, "files"), work, dirs_exist_ok=True)
            with open(os.path.join(a.case, "args"), "rb") as f:
                args = [os.fsdecode(x) for x in f.read().split(b"\n")]
            if args and args[-1] == "":
                args.pop()
        else:
            generator = os.path.join(HERE, "..", "..", "bench", "generate_script.py")
            n = a.generate
            options = ["--wide-names"] if a.wide else []
            subprocess.run([sys.executable, generator, os.path.join(work, "in.au3"), "--lines", str(n),
                            "--functions", str(max(1, n // 50)), "--variables", str(max(1, n // 10))]
                           + options, check=True, stdout=subprocess.DEVNULL)
            args = ["in.au3", "out.au3", ".", ".", "C--", "--minify"]
        problem = check(binary, work, args)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if problem:
        print("token check failed: " + problem)
        return 1
    print("tokens match")
    return 0


if __name__ == "__main__":
    sys.exit(main())
