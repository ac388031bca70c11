#!/usr/bin/env python3
"""Fails when a file includes a folder above its own.

The framework's layers, lowest first, then the game and the program on top:

    core  math  input  animation  resources  objects  shell  |  game  app

A file may include its own folder and any folder below it; framework headers
are included as <tank/LAYER/NAME.hpp>, the game's as "game/NAME.hpp". Tests,
benchmarks and examples stand outside the order and may include anything.

Usage: scripts/check-layers.py [repository root]   (default: this repository)
"""

import os
import re
import sys

LAYERS = ["core", "math", "input", "animation", "resources", "objects", "shell", "game", "app"]
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"](?:tank/)?([a-z_]+)/[^>"]+[>"]')


def violations(root):
    """(file, line number, included folder) for every include that runs back up."""
    found = []
    for level, layer in enumerate(LAYERS):
        folder = os.path.join(root, layer)
        if not os.path.isdir(folder):
            continue
        for name in sorted(os.listdir(folder)):
            if not name.endswith((".hpp", ".cpp")):
                continue
            path = os.path.join(folder, name)
            with open(path, encoding="utf-8") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if match and match.group(1) in LAYERS and LAYERS.index(match.group(1)) > level:
                        found.append((os.path.join(layer, name), number, match.group(1)))
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    found = violations(root)
    for path, number, target in found:
        print(f"{path}:{number}: includes {target}/, a layer above its own")
    if found:
        print("layer order, lowest first: " + " < ".join(LAYERS))
        return 1
    print(f"layers in order: {' < '.join(LAYERS)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
