#!/usr/bin/env python3
"""Writes a large, realistic AutoIt script for benchmarks.

generate_script.py OUT --lines N --functions F --variables V [--seed S]
                    [--wide-names [--prefix P]]

The script has a commented header, regions, global declarations, and F
functions whose bodies fill the requested line count: local declarations
(several per line, with initial values), calls along a chain, comments,
strings holding ";", continuation lines and comment blocks. Every fifth
function is never called and a third of the variables are never mentioned,
so the dead-code passes have real work.

With --wide-names every function and variable gets a long name, and all of
them begin alike (_PFn01234_Init, $g_Pv012345Handle, $Pv01234_5Handle, P
being --prefix), and the variables are spread over the functions so that
about V of them are declared; the top of the script calls every function
but every fifth, so four in five stay. The shape where the names, not the
lines, make the work.
"""
import argparse
import random


def main():
    p = argparse.ArgumentParser()
    p.add_argument("out")
    p.add_argument("--lines", type=int, default=25000)
    p.add_argument("--functions", type=int, default=2000)
    p.add_argument("--variables", type=int, default=5000)
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--wide-names", action="store_true")
    p.add_argument("--prefix", default="")
    a = p.parse_args()
    rnd = random.Random(a.seed)

    # Name formats: function f, global g, local k of function f.
    if a.wide_names:
        p = a.prefix.replace("{", "{{").replace("}", "}}")
        formats = (f"_{p}Fn{{f:05d}}_Init", f"$g_{p}v{{g:06d}}Handle", f"${p}v{{f:05d}}_{{k}}Handle")
    else:
        formats = ("_Func{f}", "$g_Var{g}", "$v{f}_{k}")

    def function_name(f):
        return formats[0].format(f=f)

    def global_name(g):
        return formats[1].format(g=g)

    def local_name(f, k):
        return formats[2].format(f=f, k=k)

    out = []
    out.append("; Generated benchmark script")
    out.append("#include-once")
    out.append("#Region Globals")
    globals_count = max(1, a.variables // 10)
    for g in range(0, globals_count, 3):
        names = [global_name(g + k) for k in range(3) if g + k < globals_count]
        out.append("Global " + ", ".join(f"{n} = {rnd.randint(0, 99)}" for n in names))
    out.append("#EndRegion")
    out.append("")
    out.append(f"{function_name(0)}()")
    if a.wide_names:
        # Most functions are called from the top, so that only every fifth
        # one goes and the variables of the others are still tested.
        out.extend(f"{function_name(f)}()" for f in range(1, a.functions) if f % 5 != 0)

    locals_left = a.variables - globals_count
    per_function = max(0, locals_left // max(1, a.functions))
    # Wide names: the remainder goes one each to the first functions.
    extra = locals_left - per_function * a.functions if a.wide_names else 0
    body_budget = max(4, (a.lines - len(out)) // max(1, a.functions) - 4)
    for f in range(a.functions):
        out.append(f"; ==== function {f} ====")
        out.append(f"Func {function_name(f)}($p{f}, $q = \"x;y\")")
        names = [local_name(f, k) for k in range(per_function + (1 if f < extra else 0))]
        for k in range(0, len(names), 3):
            chunk = names[k:k + 3]
            out.append("    Local " + ", ".join(f"{n} = {rnd.randint(0, 9)}" for n in chunk))
        used = [n for i, n in enumerate(names) if i % 3 != 2]
        written = len(names) // 3 + 1
        while written < body_budget:
            kind = rnd.randint(0, 9)
            if kind == 0 and f + 1 < a.functions and (f + 1) % 5 != 0:
                out.append(f"    {function_name(f + 1)}($p{f}) ; next in the chain")
            elif kind == 1:
                out.append("    #cs")
                out.append("      a comment block")
                out.append("    #ce")
                written += 2
            elif kind == 2:
                out.append(f"    $p{f} = $p{f} + _")
                out.append("        1")
                written += 1
            elif kind == 3 and used:
                out.append(f"    ConsoleWrite(\"value; \" & {rnd.choice(used)} & @CRLF)")
            elif kind == 4:
                out.append(f"    If $p{f} > {rnd.randint(0, 9)} Then $p{f} -= 1")
            elif kind == 5 and globals_count:
                out.append(f"    $p{f} += {global_name(rnd.randrange(0, globals_count, 2))}")
            else:
                out.append(f"    $q &= 'text {rnd.randint(0, 999)}' ; note")
            written += 1
        if f + 1 < a.functions and (f + 1) % 5 != 0:
            out.append(f"    Return {function_name(f + 1)}($p{f})")
        out.append("EndFunc")
    with open(a.out, "wb") as fh:
        fh.write(("\r\n".join(out) + "\r\n").encode())


if __name__ == "__main__":
    main()
