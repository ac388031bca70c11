#!/usr/bin/env python3
"""Draws the game's images, its icon and the example programs' sprites, and writes them
as straight-alpha RGBA PNG files.

Usage: tools/generate_images.py [output directory]   (default: this repository)

The files go to the paths listed in IMAGES under the output directory, so a trial run
into /tmp/art writes /tmp/art/data/images/tank.png and so on. Every sprite faces up
unless noted; the game rotates them. Sizes and anchor points that the game relies on
are listed in data/README.md.
"""

import os
import sys

import system_python

system_python.require("numpy", "PIL")

import numpy as np  # noqa: E402
from drawing import (Box, Canvas, Capsule, Circle, Difference, Ellipse, Grown, Intersection,  # noqa: E402
                     Polygon, Union, bleed, clamp, linear_gradient, mix, radial_gradient,
                     rgb, save_png, smoothstep, soft_edge, with_alpha)

# Olive drab armour, lit from the upper left.
ARMOUR_LIGHT = rgb(134, 152, 84)
ARMOUR = rgb(104, 122, 64)
ARMOUR_DARK = rgb(74, 88, 44)
ARMOUR_LINE = rgb(38, 46, 24)
TRACK = rgb(50, 50, 46)
TRACK_LINK = rgb(82, 82, 74)
TRACK_LINE = rgb(24, 24, 22)

TANK_SIZE = (64, 80)
TURRET_SIZE = (32, 72)
# The turret pivots on the centre of its ring: x at half the width, y at 75 % of the height.
TURRET_RING = (TURRET_SIZE[0] / 2, TURRET_SIZE[1] * 0.75)
BULLET_SIZE = (8, 18)
SHIELD_SIZE = (128, 128)
ENEMY_SIZE = (20, 28)
CROSSHAIR_SIZE = (32, 32)
VIGNETTE_SIZE = (800, 600)
MISSING_SIZE = (32, 32)
ICON_SIZE = (128, 128)
BUNNY_SIZE = (26, 32)
DOT_SIZE = (24, 24)
SHIP_SIZE = (32, 36)
ROCK_SIZE = (40, 40)
SPARK_SIZE = (16, 16)
SHOT_SIZE = (8, 18)
# The explorer's beetle: a sprite sheet of four walking frames in a row.
BEETLE_FRAME = (32, 32)
BEETLE_FRAMES = 4
BEETLE_SHEET_SIZE = (BEETLE_FRAME[0] * BEETLE_FRAMES, BEETLE_FRAME[1])
GEM_SIZE = (24, 24)


def tank():
    """A hull seen from above, front at the top, tracks on both sides."""
    canvas = Canvas(*TANK_SIZE)
    draw_hull(canvas)
    return canvas


def draw_hull(canvas):
    width, height = TANK_SIZE
    for x0 in (2, width - 16):
        track = Box(x0, 3, x0 + 14, height - 3, 4)
        canvas.paint(track, TRACK)
        links = Union(*(Box(x0 + 1.5, y, x0 + 12.5, y + 2.2) for y in range(5, height - 5, 5)))
        canvas.paint(Intersection(links, Grown(track, -1.5)), TRACK_LINK)
        canvas.stroke(track, 1.5, TRACK_LINE)

    hull = Polygon([(17, 5), (47, 5), (52, 10), (52, 72), (48, 76), (16, 76), (12, 72), (12, 10)])
    canvas.paint(hull, linear_gradient(12, 5, 52, 76, ARMOUR_LIGHT, ARMOUR_DARK))
    # Sloped front plate catches the light; the engine deck at the rear sits lower.
    glacis = Polygon([(18, 7), (46, 7), (50, 11), (50, 18), (14, 18), (14, 11)])
    canvas.paint(glacis, linear_gradient(14, 7, 50, 18, rgb(156, 174, 102), ARMOUR))
    canvas.paint(Capsule(14, 18, 50, 18, 0.6), ARMOUR_LINE)
    deck = Box(17, 60, 47, 73, 2)
    canvas.paint(deck, ARMOUR_DARK)
    for y in range(62, 72, 3):
        canvas.paint(Box(20, y, 44, y + 1.3), ARMOUR_LINE)
    canvas.stroke(deck, 1.0, ARMOUR_LINE)
    for x in (18.5, 45.5):
        canvas.paint(Circle(x, 9.5, 2.2), rgb(255, 236, 160))
        canvas.stroke(Circle(x, 9.5, 2.2), 1.0, ARMOUR_LINE)
    canvas.stroke(hull, 1.6, ARMOUR_LINE)


def turret():
    """Turret with its barrel pointing up; it pivots on TURRET_RING, the centre of its ring."""
    canvas = Canvas(*TURRET_SIZE)
    draw_turret(canvas)
    return canvas


def draw_turret(canvas):
    cx, cy = TURRET_RING
    across = linear_gradient(cx - 3, 0, cx + 3, 0, ARMOUR_LIGHT, ARMOUR_DARK)
    barrel = Union(Box(cx - 2.5, 8, cx + 2.5, cy - 10), Box(cx - 3.5, 20, cx + 3.5, 28, 1.5))
    canvas.paint(barrel, across)
    canvas.stroke(barrel, 1.3, ARMOUR_LINE)
    muzzle = Box(cx - 4, 2, cx + 4, 10, 1.5)
    canvas.paint(muzzle, linear_gradient(cx - 4, 0, cx + 4, 0, ARMOUR, ARMOUR_LINE))
    canvas.stroke(muzzle, 1.3, ARMOUR_LINE)

    # An angular cast turret, narrow at the front where the gun leaves it.
    outline = [(-6, -15), (6, -15), (10.5, -8), (11.5, 4), (8.5, 11), (-8.5, 11), (-11.5, 4), (-10.5, -8)]
    body = Grown(Polygon([(cx + x, cy + y) for x, y in outline]), 1.5)
    canvas.paint(body, radial_gradient(cx - 5, cy - 7, 24, ARMOUR_LIGHT, ARMOUR_DARK))
    canvas.stroke(body, 1.6, ARMOUR_LINE)
    mantlet = Box(cx - 4.5, cy - 17, cx + 4.5, cy - 11, 1.5)
    canvas.paint(mantlet, ARMOUR_DARK)
    canvas.stroke(mantlet, 1.2, ARMOUR_LINE)
    hatch = Circle(cx + 4, cy + 3, 3.8)
    canvas.paint(hatch, radial_gradient(cx + 3, cy + 2, 5, ARMOUR_LIGHT, ARMOUR))
    canvas.stroke(hatch, 1.2, ARMOUR_LINE)
    sight = Box(cx - 8, cy - 4, cx - 4, cy + 1, 1)
    canvas.paint(sight, ARMOUR_DARK)
    canvas.stroke(sight, 1.0, ARMOUR_LINE)


def bullet():
    """A bright shell, tip up."""
    width, height = BULLET_SIZE
    cx = width / 2
    canvas = Canvas(width, height)
    shell = Polygon([(cx, 1.4), (cx + 2.4, 5), (cx + 2.4, 15), (cx + 1.4, 16.2),
                     (cx - 1.4, 16.2), (cx - 2.4, 15), (cx - 2.4, 5)])
    canvas.paint(shell, linear_gradient(0, 2, 0, 17, rgb(255, 246, 190), rgb(255, 176, 40)))
    canvas.stroke(shell, 1.1, rgb(150, 70, 10))
    canvas.paint(Capsule(cx, 4.5, cx, 13, 1.0), rgb(255, 255, 255))
    return canvas


def shield():
    """A cyan halo for additive drawing: black adds nothing, so the rim is all that shows."""
    width, height = SHIELD_SIZE
    cx, cy = width / 2, height / 2
    rim = 53.0
    cyan = (0.35, 0.8, 1.0)

    def glow(x, y):
        r = np.hypot(x - cx, y - cy)
        ring = np.exp(-((r - rim) / 3.2) ** 2)
        halo = 0.45 * np.exp(-((r - rim) / 8.0) ** 2)
        bubble = 0.14 * (np.minimum(r, rim) / rim) ** 3
        # Nothing at all may reach the square's edge, or the sprite's outline would show.
        intensity = (ring + halo + bubble) * (1.0 - smoothstep(58.0, 63.5, r))
        colour = mix(cyan, (1.0, 1.0, 1.0), clamp(intensity - 0.75))
        level = clamp(intensity)
        # Additive drawing adds the colour channels as they stand; alpha follows the
        # brightness so the halo also looks right if it is ever alpha-blended.
        return np.concatenate([colour * level[..., None], level[..., None]], axis=-1)
    return Canvas.filled(width, height, glow)


def enemy_bullet():
    """A falling fireball: hot core at the bottom, flame trailing upwards."""
    width, height = ENEMY_SIZE
    cx, cy = width / 2, 18.5
    canvas = Canvas(width, height)
    flame = Union(Circle(cx, cy, 5.5), Polygon([(cx - 5.3, cy - 1.5), (cx, 4), (cx + 5.3, cy - 1.5)]))
    canvas.paint(flame, with_alpha(rgb(230, 40, 20), 0.55), soft_edge(3.0))
    canvas.paint(flame, linear_gradient(0, 3, 0, cy, rgb(200, 30, 10, 0.6), rgb(255, 120, 20)))
    canvas.stroke(Grown(flame, -0.3), 1.0, rgb(120, 16, 6, 0.8))
    canvas.paint(Union(Circle(cx, cy + 0.5, 3.8), Polygon([(cx - 2.5, cy - 2), (cx, 7), (cx + 2.5, cy - 2)])),
                 linear_gradient(0, 8, 0, cy, rgb(255, 190, 60, 0.7), rgb(255, 230, 120)))
    canvas.paint(Circle(cx, cy + 0.5, 2.4), rgb(255, 255, 235))
    return canvas


def crosshair():
    """White ring and ticks with a dark rim, readable over light and dark alike."""
    width, height = CROSSHAIR_SIZE
    cx, cy = width / 2, height / 2
    ring = Difference(Circle(cx, cy, 9.5), Circle(cx, cy, 7.5))
    ticks = Union(Box(cx - 1, 2.2, cx + 1, cy - 11), Box(cx - 1, cy + 11, cx + 1, height - 2.2),
                  Box(2.2, cy - 1, cx - 11, cy + 1), Box(cx + 11, cy - 1, width - 2.2, cy + 1))
    mark = Union(ring, ticks, Circle(cx, cy, 1.5))
    canvas = Canvas(width, height)
    canvas.paint(Grown(mark, 1.2), rgb(0, 0, 0, 0.65))
    canvas.paint(mark, rgb(255, 255, 255))
    return canvas


def vignette():
    """Black, clear in the middle, darkening towards the edges and most in the corners."""
    width, height = VIGNETTE_SIZE

    def shade(x, y):
        u = (x - width / 2) / (width / 2)
        v = (y - height / 2) / (height / 2)
        shade = np.zeros(u.shape + (4,))
        shade[..., 3] = 0.65 * smoothstep(0.55, 1.5, np.hypot(u, v)) ** 1.5
        return shade
    return Canvas.filled(width, height, shade)


def missing_image():
    """Magenta and black checks in a white frame: impossible to mistake for real art."""
    width, height = MISSING_SIZE

    def checks(x, y):
        frame = (x < 2) | (y < 2) | (x > width - 2) | (y > height - 2)
        magenta = (x // 8 + y // 8) % 2 == 0
        colour = np.where(magenta[..., None], (1.0, 0.0, 1.0, 1.0), (0.0, 0.0, 0.0, 1.0))
        return np.where(frame[..., None], (1.0, 1.0, 1.0, 1.0), colour)
    return Canvas.filled(width, height, checks)


def icon():
    """The application icon: the tank from above, turning, on a dark rounded badge."""
    width, height = ICON_SIZE
    canvas = Canvas(width, height)
    badge = Box(4, 4, width - 4, height - 4, 26)
    canvas.paint(Grown(badge, 1.5), rgb(12, 14, 18, 0.9))
    canvas.paint(badge, linear_gradient(0, 4, 0, height - 4, rgb(70, 84, 100), rgb(30, 36, 46)))
    canvas.paint(badge, radial_gradient(width / 2, height * 0.45, 52, rgb(120, 140, 160, 0.35),
                                        rgb(120, 140, 160, 0.0)))
    canvas.stroke(Grown(badge, -2.5), 1.5, rgb(255, 255, 255, 0.12))

    # The hull centre sits a little below the middle so the gun has room ahead of it.
    centre = (width / 2 + 3, height / 2 + 6)
    angle, scale = 28.0, 1.05
    hull_centre = (TANK_SIZE[0] / 2, TANK_SIZE[1] / 2)
    shadow = canvas.placed(centre[0] + 3, centre[1] + 5, scale, angle, hull_centre)
    shadow.paint(Box(2, 3, TANK_SIZE[0] - 2, TANK_SIZE[1] - 3, 6), rgb(0, 0, 0, 0.45), soft_edge(5))
    draw_hull(canvas.placed(*centre, scale, angle, hull_centre))
    draw_turret(canvas.placed(*centre, scale, angle - 18.0, TURRET_RING))
    return canvas


def bunny():
    """A little long-eared critter sitting up, for the sprite stress test."""
    width, height = BUNNY_SIZE
    cx = width / 2
    fur, fur_shade = rgb(250, 246, 240), rgb(214, 204, 200)
    line, pink = rgb(72, 58, 66), rgb(244, 160, 176)
    canvas = Canvas(width, height)
    head = Ellipse(cx, 16.4, 8.3, 6.8)
    body = Ellipse(cx, 24.5, 8.8, 5.2)
    feet = Union(Ellipse(cx - 4.6, 28.2, 3.4, 1.6), Ellipse(cx + 4.6, 28.2, 3.4, 1.6))
    for side in (-1, 1):
        ear = canvas.placed(cx + side * 4.2, 9.0, 1.0, side * 14.0)
        ear.paint(Ellipse(0, 0, 4.2, 7.9), line)
        ear.paint(Ellipse(0, 0, 3.1, 6.8), linear_gradient(0, -7, 0, 7, fur, fur_shade))
        ear.paint(Ellipse(0, 0.8, 1.5, 4.8), pink)
    canvas.paint(Grown(Union(head, body, feet), 1.1), line)
    canvas.paint(body, linear_gradient(0, 20, 0, 30, fur, fur_shade))
    canvas.paint(feet, fur)
    canvas.stroke(feet, 0.9, with_alpha(line, 0.6))
    canvas.paint(Grown(head, 0.6), with_alpha(line, 0.35))
    canvas.paint(head, radial_gradient(cx - 2, 14, 10, fur, fur_shade))
    for side in (-1, 1):
        canvas.paint(Circle(cx + side * 5.4, 19.0, 1.6), with_alpha(pink, 0.55), soft_edge(1.2))
        canvas.paint(Circle(cx + side * 3.1, 15.8, 1.45), rgb(34, 26, 34))
        canvas.paint(Circle(cx + side * 3.1 - 0.5, 15.3, 0.5), rgb(255, 255, 255))
    canvas.paint(Ellipse(cx, 18.6, 1.2, 0.85), rgb(226, 110, 136))
    return canvas


def dot():
    """A soft warm-orange ball with a highlight, for the easing-curves demo."""
    width, height = DOT_SIZE
    cx, cy = width / 2, height / 2
    canvas = Canvas(width, height)
    ball = Circle(cx, cy, 10.0)
    canvas.paint(ball, rgb(190, 70, 10, 0.35), soft_edge(1.2))
    canvas.paint(ball, radial_gradient(cx - 3, cy - 3.5, 14.5, rgb(255, 204, 120), rgb(214, 78, 16)))
    canvas.paint(Ellipse(cx - 3.2, cy - 3.9, 3.6, 2.5), rgb(255, 255, 244, 0.85), soft_edge(2.5))
    canvas.stroke(ball, 1.0, rgb(170, 60, 12, 0.7))
    return canvas


def ship():
    """A small arrowhead fighter, nose up, for the rocks game."""
    width, height = SHIP_SIZE
    cx = width / 2
    canvas = Canvas(width, height)
    hull = Polygon([(cx, 2), (width - 3, height - 5), (cx, height - 11), (3, height - 5)])
    canvas.paint(Grown(hull, 1.0), rgb(20, 30, 44))
    canvas.paint(hull, linear_gradient(0, 2, 0, height - 5, rgb(200, 226, 255), rgb(70, 110, 170)))
    canvas.paint(Ellipse(cx, 15, 2.6, 5.0), radial_gradient(cx - 1, 13, 5, rgb(255, 255, 255), rgb(90, 200, 255)))
    canvas.paint(Ellipse(cx, height - 8, 3.0, 2.4), rgb(255, 170, 60, 0.9), soft_edge(2.0))
    return canvas


def rock():
    """A lumpy grey boulder lit from the upper left, for the rocks game."""
    width, height = ROCK_SIZE
    cx, cy = width / 2, height / 2
    canvas = Canvas(width, height)
    boulder = Polygon([(cx - 6, 3), (cx + 9, 4), (width - 4, cy - 5), (width - 3, cy + 7), (cx + 7, height - 3),
                       (cx - 8, height - 4), (4, cy + 6), (3, cy - 6)])
    canvas.paint(Grown(boulder, 1.0), rgb(40, 38, 36))
    canvas.paint(boulder, radial_gradient(cx - 7, cy - 8, 30, rgb(176, 168, 156), rgb(84, 78, 72)))
    for x, y, r in ((cx + 5, cy - 4, 3.2), (cx - 6, cy + 6, 2.4), (cx + 6, cy + 9, 1.8)):
        canvas.paint(Circle(x, y, r), rgb(60, 56, 52, 0.7), soft_edge(0.8))
    return canvas


def spark():
    """A soft warm glow, bright in the middle and fading to nothing, drawn additively."""
    width, height = SPARK_SIZE
    cx, cy = width / 2, height / 2

    def glow(x, y):
        level = np.exp(-(np.hypot(x - cx, y - cy) / 4.0) ** 2)
        colour = mix((1.0, 0.62, 0.2), (1.0, 1.0, 0.85), clamp(level * 1.4 - 0.4))
        return np.concatenate([colour * np.ones_like(level)[..., None], level[..., None]], axis=-1)
    return Canvas.filled(width, height, glow)


def shot():
    """A thin bright bolt, for the rocks game."""
    width, height = SHOT_SIZE
    canvas = Canvas(width, height)
    canvas.paint(Capsule(width / 2, 4.5, width / 2, height - 4.5, 1.6), rgb(120, 255, 200, 0.6), soft_edge(1.0))
    canvas.paint(Capsule(width / 2, 4.5, width / 2, height - 4.5, 0.9), rgb(235, 255, 245))
    return canvas


def beetle_sheet():
    """A beetle seen from above, head up, in four frames of a walk: its legs move in two
    tripods (front and back on one side with the middle on the other): one tripod
    forward, passing, back, passing again, the two passing frames told apart by how far
    the legs have come."""
    width, height = BEETLE_FRAME
    canvas = Canvas(*BEETLE_SHEET_SIZE)
    leg_colour, line = rgb(34, 30, 38), rgb(16, 20, 26)
    for frame in range(BEETLE_FRAMES):
        view = canvas.placed(frame * width + width / 2, height / 2)
        stride = (1.0, 0.3, -1.0, -0.3)[frame]
        for side in (-1, 1):
            for pair, (y, rest) in enumerate(((-4.0, -35.0), (1.0, 0.0), (6.0, 35.0))):
                tripod = 1 if (pair % 2 == 0) == (side < 0) else -1
                angle = np.radians(rest + 22.0 * stride * tripod)
                knee = (side * 9.5, y + 5.5 * np.sin(angle))
                foot = (side * 12.5, y + 9.0 * np.sin(angle))
                view.paint(Union(Capsule(side * 5.0, y, *knee, 1.1), Capsule(*knee, *foot, 0.9)), leg_colour)
        for side in (-1, 1):
            view.paint(Capsule(side * 1.8, -10.5, side * (4.0 + 0.6 * stride * side), -13.8, 0.6), leg_colour)
        shell = Ellipse(0, 2.0, 7.4, 9.4)
        view.paint(Grown(shell, 1.0), line)
        view.paint(shell, radial_gradient(-2.5, -2.0, 11.0, rgb(110, 210, 200), rgb(24, 92, 110)))
        view.paint(Capsule(0, -6.5, 0, 10.5, 0.45), with_alpha(line, 0.8))
        for x, y in ((-3.6, 1.0), (3.6, 1.0), (-2.8, 6.4), (2.8, 6.4)):
            view.paint(Circle(x, y, 1.2), rgb(240, 200, 70))
        head = Ellipse(0, -9.0, 3.6, 2.8)
        view.paint(Grown(head, 0.8), line)
        view.paint(head, rgb(40, 48, 56))
        view.paint(Ellipse(-1.9, -9.9, 0.8, 0.7), rgb(255, 255, 255))
        view.paint(Ellipse(1.9, -9.9, 0.8, 0.7), rgb(255, 255, 255))
    return canvas


def gem():
    """A cut violet crystal with a bright facet, for the explorer's pickups."""
    width, height = GEM_SIZE
    cx = width / 2
    canvas = Canvas(width, height)
    stone = Polygon([(cx - 5, 3), (cx + 5, 3), (cx + 9, 9), (cx, 21), (cx - 9, 9)])
    canvas.paint(Grown(stone, 1.0), rgb(50, 16, 70))
    canvas.paint(stone, linear_gradient(0, 3, 0, 21, rgb(226, 150, 255), rgb(110, 30, 170)))
    canvas.paint(Polygon([(cx - 5, 3), (cx + 5, 3), (cx + 9, 9), (cx - 9, 9)]), rgb(240, 200, 255, 0.75))
    canvas.paint(Polygon([(cx - 3, 9), (cx + 3, 9), (cx, 19)]), rgb(190, 110, 240, 0.8))
    canvas.paint(Ellipse(cx - 3, 5.6, 2.2, 1.1), rgb(255, 255, 255, 0.9), soft_edge(1.2))
    return canvas


# Paths relative to the repository (or to the output directory given on the command line).
IMAGES = {
    "data/images/tank.png": tank,
    "data/images/turret.png": turret,
    "data/images/bullet.png": bullet,
    "data/images/sheild.png": shield,
    "data/images/enemy_bullet.png": enemy_bullet,
    "data/images/crosshair.png": crosshair,
    "data/images/vignette2.png": vignette,
    "data/missing_image.png": missing_image,
    "data/images/icon.png": icon,
    "examples/bunnymark/data/images/bunny.png": bunny,
    "examples/easings/data/images/dot.png": dot,
    "examples/rocks/data/images/ship.png": ship,
    "examples/rocks/data/images/rock.png": rock,
    "examples/rocks/data/images/spark.png": spark,
    "examples/rocks/data/images/shot.png": shot,
    "examples/explorer/data/images/beetle.png": beetle_sheet,
    "examples/explorer/data/images/gem.png": gem,
}

# Images whose transparent pixels must stay black. Every other image is bled: its
# transparent pixels take the colour of the nearest visible ones, so that scaling it
# with linear filtering does not pull black into its edges. The shield is drawn
# additively, where the colour channels are the brightness added whatever the alpha;
# the vignette is black through and through.
UNBLED = {"data/images/sheild.png", "data/images/vignette2.png"}


def render(name):
    """The finished 8-bit straight-alpha pixels of image `name`, as they are written."""
    rgba = IMAGES[name]().to_rgba8()
    return rgba if name in UNBLED else bleed(rgba)


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    for name in IMAGES:
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        save_png(path, render(name))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
