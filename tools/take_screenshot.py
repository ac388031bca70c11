#!/usr/bin/env python3
"""Takes a screenshot of the real game in play and saves the window's 800 x 600 region.

Usage: tools/take_screenshot.py [game executable] [output png]
       (defaults: build/tank, docs/screenshot.png; run from anywhere)

The game runs on a private virtual X server. The script waits for enemies to come into
view, aims at them and fires both tanks, then saves the frame with the shots in the air.
"""

import os
import subprocess
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
GAME = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(REPO, "build", "tank")
OUTPUT = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else os.path.join(REPO, "docs", "screenshot.png")

# The harness takes the game (and the report spy beside it) from its command line.
sys.argv = [sys.argv[0], GAME, os.path.join(os.path.dirname(GAME), "libreport_spy.so")]
sys.path.insert(0, os.path.join(REPO, "tests", "window"))
from harness import Game, VirtualScreen  # noqa: E402


def enemies_in_view(image, x, y):
    """Centres of the enemies on screen, found by their orange glow, top to bottom."""
    found = []
    for py in range(y + 60, y + 330, 4):
        for px in range(x + 100, x + 700, 4):
            r, g, b = image.pixel(px, py)
            if r > 200 and 60 < g < 170 and b < 90 and all(abs(px - fx) > 30 or abs(py - fy) > 30
                                                            for fx, fy in found):
                found.append((px, py))
    return found


def click(screen, button):
    screen.xdotool("mousedown", button)
    time.sleep(0.08)  # held across an input sample
    screen.xdotool("mouseup", button)


def main():
    screen = VirtualScreen()
    game = Game(screen)
    try:
        window = game.wait_for_window()
        x, y, width, height = screen.window_geometry(window)
        screen.xdotool("mousemove", x + 400, y + 200)

        deadline = time.monotonic() + 20
        targets = []
        while len(targets) < 3 and time.monotonic() < deadline:
            time.sleep(0.25)
            targets = enemies_in_view(screen.screenshot(), x, y)
        if not targets:
            sys.exit("no enemy came into view")

        # Left tank at the leftmost enemy, right tank at the rightmost; one more on the way.
        targets.sort()
        for (tx, ty), button in ((targets[0], "1"), (targets[-1], "3")):
            screen.xdotool("mousemove", tx, ty + 40)
            click(screen, button)
        screen.xdotool("mousemove", x + 400, y + 230)
        click(screen, "1")
        time.sleep(0.2)

        os.makedirs(os.path.dirname(OUTPUT), exist_ok=True)
        shot = OUTPUT + ".full.png"
        screen.save_screenshot(shot)
        subprocess.run(["convert", shot, "-crop", f"{width}x{height}+{x}+{y}", "+repage", OUTPUT], check=True)
        os.remove(shot)
        print(OUTPUT)
    finally:
        game.close()
        screen.close()


if __name__ == "__main__":
    main()
