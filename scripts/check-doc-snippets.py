#!/usr/bin/env python3
"""Fails when a code snippet of docs/framework.md is not in the file it says it comes from.

Every ```cpp and ```cmake block of the guide follows a line `<!-- snippet: PATH -->`; its lines,
without their indentation, must appear in PATH one after the other. The guide's code is then the
examples' code, which the tests build and run.

Usage: scripts/check-doc-snippets.py [repository root]   (default: this repository)
"""

import os
import re
import sys

MARKER = re.compile(r"<!-- snippet: (\S+) -->")
CHECKED = ("```cpp", "```cmake")


def blocks(guide):
    """(line number, source path or None, code lines) for every checked block."""
    lines = guide.splitlines()
    found = []
    i = 0
    while i < len(lines):
        if lines[i].strip() in CHECKED:
            marker = MARKER.fullmatch(lines[i - 1].strip()) if i > 0 else None
            end = lines.index("```", i + 1)
            found.append((i + 1, marker.group(1) if marker else None, lines[i + 1:end]))
            i = end
        i += 1
    return found


def contains(text, snippet):
    haystack = [line.strip() for line in text.splitlines()]
    needle = [line.strip() for line in snippet]
    return any(haystack[i:i + len(needle)] == needle for i in range(len(haystack) - len(needle) + 1))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with open(os.path.join(root, "docs", "framework.md"), encoding="utf-8") as guide:
        found = blocks(guide.read())
    problems = []
    for line, source, code in found:
        if source is None:
            problems.append(f"docs/framework.md:{line}: a code block without a snippet marker")
            continue
        with open(os.path.join(root, source), encoding="utf-8") as file:
            if not contains(file.read(), code):
                problems.append(f"docs/framework.md:{line}: not found in {source}")
    for problem in problems:
        print(problem)
    if not problems:
        print(f"{len(found)} snippets, each found in its example")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
