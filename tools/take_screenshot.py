#!/usr/bin/env python3
"""Takes the screenshots of the real game that docs/ and the README show.

Usage: tools/take_screenshot.py [game executable] [output folder] [shot ...]
       (defaults: build/tank, docs/, every shot; run from anywhere)

The game runs on a private virtual X server each time:
- screenshot.png: the game in play, 800 x 600, shots in the air;
- screenshot-explosion.png: an enemy hit and swelling, the moment it is largest;
- screenshot-large-window.png: the window resized to 1600 x 1000, the frame scaled between bars;
- screenshot-fullscreen.png: fullscreen (F11) on a 1280 x 800 screen, under a window manager.
"""

import os
import subprocess
import sys
import time

import system_python

system_python.require("PIL")

from PIL import Image as PillowImage  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
GAME = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(REPO, "build", "tank")
OUTPUT = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else os.path.join(REPO, "docs")
SHOTS = sys.argv[3:] or ["in_play", "explosion", "large_window", "fullscreen"]

# The harness takes the game (and the report spy beside it) from its command line.
sys.argv = [sys.argv[0], GAME, os.path.join(os.path.dirname(GAME), "libreport_spy.so")]
sys.path.insert(0, os.path.join(REPO, "tests", "window"))
from harness import Game, VirtualScreen  # noqa: E402


def save(image, name):
    path = os.path.join(OUTPUT, name)
    PillowImage.frombytes("RGB", (image.width, image.height), image.pixels).save(path, optimize=True)
    print(path)


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


def fiery(rgb):
    r, g, b = rgb
    return r > 150 and r > g + 40 and r > b + 60


class Session:
    """The game on its own virtual screen, its window's region."""

    def __init__(self, width=1024, height=768, window_manager=False):
        self.screen = VirtualScreen(width, height)
        self.manager = None
        if window_manager:
            self.manager = subprocess.Popen(["openbox", "--sm-disable"], env=self.screen.env,
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(1.0)  # a picture, not a test: give it a moment to take over
        self.game = Game(self.screen)
        self.window = self.game.wait_for_window()

    def region(self):
        x, y, width, height = self.screen.window_geometry(self.window)
        return x, y, x + width, y + height

    def shot(self, region=None):
        return self.screen.screenshot(region or self.region())

    def wait_for_targets(self, count):
        x, y, _, _ = self.region()
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            targets = enemies_in_view(self.screen.screenshot(), x, y)
            if len(targets) >= count:
                return sorted(targets)
            time.sleep(0.25)
        sys.exit("no enemy came into view")

    def close(self):
        self.game.close()
        if self.manager:
            self.manager.terminate()
            self.manager.wait()
        self.screen.close()


def in_play():
    session = Session()
    try:
        x, y, _, _ = session.region()
        session.screen.xdotool("mousemove", x + 400, y + 200)
        targets = session.wait_for_targets(3)
        # Left tank at the leftmost enemy, right tank at the rightmost; one more on the way.
        for (tx, ty), button in ((targets[0], 1), (targets[-1], 3)):
            session.screen.xdotool("mousemove", tx, ty + 40)
            session.screen.click(button)
        session.screen.xdotool("mousemove", x + 400, y + 230)
        session.screen.click(1)
        time.sleep(0.2)
        save(session.shot(), "screenshot.png")
    finally:
        session.close()


def explosion():
    session = Session()
    try:
        targets = session.wait_for_targets(1)
        tx, ty = targets[-1]
        session.screen.xdotool("mousemove", tx, ty + 30)
        session.screen.quick_click(1)
        # The swell lasts half a second: keep the frame where it covers the most.
        best, best_area = None, 0
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline:
            image = session.shot()
            area = image.count((image.origin[0], image.origin[1], image.origin[0] + image.width,
                                image.origin[1] + image.height), fiery)
            if area > best_area:
                best, best_area = image, area
        save(best, "screenshot-explosion.png")
    finally:
        session.close()


def large_window():
    session = Session(1920, 1200)
    try:
        session.screen.xdotool("windowsize", session.window, 1600, 1000)
        time.sleep(0.5)
        x, y, _, _ = session.region()
        session.screen.xdotool("mousemove", x + 1150, y + 350)
        time.sleep(5.0)  # the first enemies come into view
        save(session.shot(), "screenshot-large-window.png")
    finally:
        session.close()


def fullscreen():
    session = Session(1280, 800, window_manager=True)
    try:
        session.screen.xdotool("windowfocus", "--sync", session.window, check=False)
        session.screen.press_key("F11")
        time.sleep(1.0)
        session.screen.xdotool("mousemove", 700, 300)
        time.sleep(1.0)
        save(session.screen.screenshot(), "screenshot-fullscreen.png")
    finally:
        session.close()


def main():
    os.makedirs(OUTPUT, exist_ok=True)
    for take in SHOTS:
        globals()[take]()


if __name__ == "__main__":
    main()
