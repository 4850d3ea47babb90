#!/usr/bin/env python3
"""The metafile against the run it describes, and the options against a run
without them.

Shrinks the project of the explain_map_nested_project scenario twice, without
options and with --map, --metafile, --analyze and --why: standard output (timings
masked) and the output script must be the same bytes. The metafile must be
JSON that Python's json reads, agree with the report's counters, the output's
size and lines and the map, and say what keeps or deleted the project's
functions. A script in an ANSI code page must give valid JSON too, its bytes
as Latin-1 characters. An output with the UTF-8 mark is counted with it, and
the metafile's warnings are those printed.

metafile_test.py --binary BINARY [--emulator wine]
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
PROJECT = os.path.join(HERE, "..", "e2e", "cases", "explain_map_nested_project", "files")
TIMING = re.compile(rb"\d+\.\d{3} seconds")
ARGS = ["--no-pause", "main.au3", "small.au3", "src", "lib", "CFG", "3", "."]
OPTIONS = ["--map=small.map", "--metafile=small.json", "--analyze", "--why=_Form_Show,$g_iUsed"]

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(opts, work, args):
    """Standard output, timings masked, of a run that must succeed."""
    return TIMING.sub(b"#.### seconds", run_both(opts, work, args)[0])


def run_both(opts, work, args):
    """Standard output (masked) and standard error of a run that must succeed."""
    command = ([opts.emulator] if opts.emulator else []) + [opts.binary] + args
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    proc = subprocess.run(command, cwd=work, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=120, env=env)
    if proc.returncode != 0:
        sys.exit(f"exit status {proc.returncode}: {proc.stderr.decode('latin-1')}")
    return proc.stdout.replace(b"\r\n", b"\n"), proc.stderr.replace(b"\r\n", b"\n")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def counter(stdout, label):
    return int(re.search(label.encode() + rb"\s+(-?\d+)", stdout).group(1))


def check_project(opts, work):
    plain = run(opts, work, ARGS)
    plain_script = read(os.path.join(work, "small.au3"))
    explained = run(opts, work, ARGS + OPTIONS)
    check(explained == plain, "standard output differs with --map, --metafile, --analyze, --why")
    check(read(os.path.join(work, "small.au3")) == plain_script, "output script differs with the options")

    meta = json.loads(read(os.path.join(work, "small.json")).decode("utf-8"))
    report = meta["report"]
    output = meta["output"]
    files = meta["files"]
    check(output["bytes"] == len(plain_script), "output.bytes is not the output's size")
    check(report["size_with_optimation"] == counter(plain, "file size with optimation:"),
          "size_with_optimation differs from the report")
    check(report["size_without_optimation"] == counter(plain, "file size without optimation:"),
          "size_without_optimation differs from the report")
    check(report["deleted_functions"] == counter(plain, "deleted functions:"), "deleted_functions")
    check(report["deleted_vars"] == counter(plain, "deleted vars:"), "deleted_vars")
    check(report["includet_files"] == counter(plain, "includet files:"), "includet_files")
    script_lines = plain_script.count(b"\r\n")
    map_lines = read(os.path.join(work, "small.map")).count(b"\r\n")
    check(output["lines"] == script_lines == map_lines, "output lines, script lines and map lines")
    check(sum(f["output_bytes"] for f in files) == output["bytes"], "files' output bytes add up")
    check(sum(f["output_lines"] for f in files) == output["lines"], "files' output lines add up")
    check(sum(f["expanded_bytes"] for f in files) == report["size_without_optimation"],
          "files' expanded bytes add up to the unshrunk size")
    functions = {f["name"]: f for f in meta["functions"]}
    check(sum(f["status"] == "deleted" for f in meta["functions"]) == report["deleted_functions"],
          "deleted functions counted")
    check(sum(v["status"] == "deleted" for v in meta["variables"]) == report["deleted_vars"],
          "deleted variables counted")

    # What keeps each function, and what deleted the others.
    log = functions["_Log_Write"]["kept_by"]
    check(log["function"] == "_Util_Log" and log["reaches_root"], "_Log_Write kept by _Util_Log")
    check(functions["_Util_Log"]["kept_by"]["function"] == "_Form_Show", "_Util_Log kept by _Form_Show")
    top = functions["_Form_Show"]["kept_by"]
    check(top["function"] is None and top["line"] == 11, "_Form_Show kept by top-level line 11")
    check(functions["_Log_ByName"]["kept_by"]["function"] == "_Log_Write", "_Log_ByName named in a string")
    check(functions["_Util_Kept"]["kept_by"]["keep_entry"] == "_UTIL_KEPT", "_Util_Kept kept by its pragma")
    trace = functions["_Util_Trace"]
    check(trace["status"] == "deleted" and trace["deleted_in_run"] == 2, "_Util_Trace deleted in run 2")
    check([m["deleted_function"] for m in trace["named_by_deleted"]] == ["_Form_Hide"],
          "_Util_Trace left unnamed by _Form_Hide")
    check(functions["_Log_Never"]["deleted_in_run"] == 1 and
          functions["_Log_Never"]["named_by_deleted"] == [], "_Log_Never named by nothing")
    variables = {v["name"]: v for v in meta["variables"]}
    check(variables["$G_IUNUSED"]["status"] == "deleted", "$g_iUnused deleted")
    check(variables["$G_IUSED"]["first_mention"] == {"file": "main.au3", "line": 11},
          "$g_iUsed first mentioned on line 11")


def check_ansi_script(opts, work):
    # A function and a variable named in Latin-1 (only a-z is upper-cased), a
    # keep entry that matches nothing, control bytes and a quote in a string.
    script = (b"; au3shrink: keep Caf\xe9Never\r\nGlobal $caf\xe9 = 1\r\nFunc _Caf\xe9()\r\nEndFunc\r\n"
              b"_Caf\xe9()\r\nConsoleWrite(\"\x01\xff\\\"\")\r\n")
    with open(os.path.join(work, "ansi.au3"), "wb") as f:
        f.write(script)
    run(opts, work, ["--no-pause", "ansi.au3", "out.au3", ".", ".", "CFG", "1", ".",
                     "--metafile=ansi.json"])
    text = read(os.path.join(work, "ansi.json")).decode("utf-8")
    meta = json.loads(text)
    check([f["name"] for f in meta["functions"]] == ["_Caf\u00e9"], "Latin-1 function name")
    check([v["name"] for v in meta["variables"]] == ["$CAF\u00e9"], "Latin-1 variable name")
    check(any("CAF\u00e9NEVER" in w["text"] for w in meta["warnings"]), "Latin-1 warning text")


def check_marked_output_and_warnings(opts, work):
    # An output that begins with the UTF-8 mark: the metafile and --analyze
    # count it as the report and the file do. The metafile's warnings are
    # those printed: --why's too, each place of a name held at run time, and
    # no silenced one.
    script = (b"\xef\xbb\xbfCall($sHandler)\r\nGUISetOnEvent(-3, $sClose)\r\n"
              b"Func _On_Quit()\r\nEndFunc\r\nMsgBox(0, '', 1)\r\n")
    with open(os.path.join(work, "marked.au3"), "wb") as f:
        f.write(script)
    stdout, stderr = run_both(opts, work, [
        "--no-pause", "marked.au3", "marked_out.au3", ".", ".", "CFG", "1", ".",
        "--metafile=marked.json", "--analyze", "--why=NoSuchName", "--keep=Nope",
        "--no-warn=keep-unmatched"])
    size = os.path.getsize(os.path.join(work, "marked_out.au3"))
    meta = json.loads(read(os.path.join(work, "marked.json")).decode("utf-8"))
    check(meta["output"]["bytes"] == size, "output.bytes counts the UTF-8 mark")
    check(meta["report"]["size_with_optimation"] == counter(stdout, "file size with optimation:"),
          "size_with_optimation as the report gives it")
    total = re.search(rb"^\s*(\d+)\s.*total$", stderr, re.M)
    check(total is not None and int(total.group(1)) == size, "--analyze total counts the mark")
    kinds = [w.get("kind") for w in meta["warnings"]]
    check(kinds == ["held-name", "why-unknown"], f"warnings printed, none silenced: {kinds}")
    printed = [l for l in stderr.split(b"\n") if l.startswith(b"warning:")]
    check(len(printed) == len(kinds), "as many warnings in the metafile as printed")
    held = meta["warnings"][0]
    check([(p["line"], p["text"]) for p in held.get("places", [])] ==
          [(1, "Call($sHandler)"), (2, "GUISetOnEvent(..., $sClose)")],
          "every place of the held name")


def check_keeps_and_mentions(opts, work):
    # What keeps each name, as the metafile writes it: a --keep entry has no
    # place; a function kept only by one nothing names any more does not
    # reach the root; a variable another line mentions is not kept by the
    # call in its declaration; a deleted variable has no first mention.
    shutil.copy(os.path.join(HERE, "..", "e2e", "cases", "explain_why_roots_strings_and_scopes",
                             "files", "main.au3"), os.path.join(work, "keeps.au3"))
    run(opts, work, ["--no-pause", "keeps.au3", "keeps_out.au3", ".", ".", "CFG", "1", ".",
                     "--keep=Kept", "--metafile=keeps.json"])
    meta = json.loads(read(os.path.join(work, "keeps.json")).decode("utf-8"))
    functions = {f["name"]: f for f in meta["functions"]}
    variables = {v["name"]: v for v in meta["variables"]}
    check(functions["Kept"]["kept_by"] == {"keep_entry": "KEPT", "file": None, "line": None},
          "a --keep entry has no place")
    check(functions["C"]["kept_by"]["reaches_root"] is False, "C does not reach the root")
    check(functions["OnClose"]["kept_by"]["reaches_root"] is True, "OnClose reaches the root")
    check(variables["$HGUI"].get("kept_by") is None and
          variables["$HGUI"]["first_mention"] == {"file": "keeps.au3", "line": 25},
          "$hGui kept by the line that mentions it")
    check(variables["$HOTHER"]["kept_by"] == {"call_in_declaration": True},
          "$hOther kept by the call in its declaration")
    check(variables["$G_UNUSED"]["status"] == "deleted" and
          variables["$G_UNUSED"]["first_mention"] is None, "a deleted variable has no first mention")
    # A variable nothing else mentions, kept because the rest of its
    # declaration reads it.
    with open(os.path.join(work, "reads.au3"), "wb") as f:
        f.write(b"Local $w = 3, $area = $w * 2\r\nConsoleWrite($area)\r\n")
    run(opts, work, ["--no-pause", "reads.au3", "reads_out.au3", ".", ".", "CFG", "1", ".",
                     "--metafile=reads.json"])
    meta = json.loads(read(os.path.join(work, "reads.json")).decode("utf-8"))
    variables = {v["name"]: v for v in meta["variables"]}
    check(variables["$W"]["kept_by"] == {"read_in_declaration": True},
          "$w kept by the rest of its declaration")


def check_tree_shaking(opts, work):
    # Two functions that call each other and nothing reaches: both deleted,
    # each named only by the other.
    script = b"Func _A()\r\n\t_B()\r\nEndFunc\r\nFunc _B()\r\n\t_A()\r\nEndFunc\r\n"
    with open(os.path.join(work, "circle.au3"), "wb") as f:
        f.write(script)
    run(opts, work, ["--no-pause", "circle.au3", "out.au3", ".", ".", "-F-", "1", ".",
                     "--tree-shaking", "--metafile=circle.json"])
    meta = json.loads(read(os.path.join(work, "circle.json")).decode("utf-8"))
    functions = {f["name"]: f for f in meta["functions"]}
    for name, other in (("_A", "_B"), ("_B", "_A")):
        f = functions[name]
        check(f["status"] == "deleted" and f["deleted_in_run"] == 1, name + " deleted in run 1")
        check(f["reaches_root"] is False and f["reason"] == "not reached", name + " not reached")
        check([m["deleted_function"] for m in f["named_by_deleted"]] == [other],
              name + " named only by " + other)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--binary", required=True)
    p.add_argument("--emulator", default="")
    opts = p.parse_args()
    opts.binary = os.path.abspath(opts.binary)
    work = tempfile.mkdtemp(prefix="au3meta-")
    try:
        shutil.copytree(PROJECT, work, dirs_exist_ok=True)
        check_project(opts, work)
        check_ansi_script(opts, work)
        check_marked_output_and_warnings(opts, work)
        check_keeps_and_mentions(opts, work)
        check_tree_shaking(opts, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("ok")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
