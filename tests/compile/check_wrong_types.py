#!/usr/bin/env python3
"""A wrong kind does not compile: a number passed as a curve or a blend mode, a copied Object.

Compiles wrong_types.cpp once as it stands, which must succeed (so a failure below is the wrong
line's, not a broken include), then once with each WRONG_* case, each of which must fail.

Usage: check_wrong_types.py COMPILER INCLUDE_DIR [more compiler flags]
"""

import os
import re
import subprocess
import sys

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "wrong_types.cpp")


def compiles(command, define=None):
    args = command + ([f"-D{define}"] if define else [])
    result = subprocess.run(args, capture_output=True, text=True)
    return result.returncode == 0, result.stderr


def main():
    compiler, include, *flags = sys.argv[1:]
    command = [compiler, "-std=c++20", "-fsyntax-only", "-Wall", "-Wextra", f"-I{include}", *flags, SOURCE]
    ok, errors = compiles(command)
    if not ok:
        print(f"the correct calls do not compile:\n{errors}")
        return 1
    with open(SOURCE, encoding="utf-8") as source:
        cases = re.findall(r"^#ifdef (WRONG_\w+)", source.read(), re.MULTILINE)
    compiled = [case for case in cases if compiles(command, case)[0]]
    for case in compiled:
        print(f"{case}: compiles, but must not")
    if not compiled:
        print(f"{len(cases)} wrong calls, none compiles")
    return 1 if compiled else 0


if __name__ == "__main__":
    sys.exit(main())
