#!/usr/bin/env python3
"""Checks the committed data files against what the game and the generators promise.

Run from anywhere: python3 tools/test_data.py
"""

import os
import struct
import unittest
import wave

import system_python

system_python.require("numpy", "PIL")

import numpy as np  # noqa: E402

import generate_images  # noqa: E402
import generate_sound  # noqa: E402
from drawing import Box, Canvas, Circle, Difference, Ellipse, Polygon, bleed, load_png  # noqa: E402

REPO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
DATA = os.path.join(REPO, "data")


def load(name):
    return load_png(os.path.join(REPO, name))


def alpha_at(image, x, y):
    return int(image[y, x, 3])


def pixel_at(image, x, y):
    return tuple(int(c) for c in image[y, x])


def border(image):
    """The outermost ring of pixels, as an (n, 4) array."""
    return np.concatenate([image[0], image[-1], image[1:-1, 0], image[1:-1, -1]])


class DrawingTest(unittest.TestCase):
    def test_distances_are_signed_pixels(self):
        self.assertAlmostEqual(Circle(0, 0, 2).distance(5, 0), 3)
        self.assertAlmostEqual(Box(0, 0, 10, 4).distance(5, 2), -2)
        ellipse = Ellipse(0, 0, 4, 2)
        self.assertAlmostEqual(ellipse.distance(6, 0), 2)
        self.assertAlmostEqual(ellipse.distance(0, 2), 0)
        self.assertLess(ellipse.distance(0, 0), 0)
        square = Polygon([(0, 0), (4, 0), (4, 4), (0, 4)])
        self.assertAlmostEqual(square.distance(2, 1), -1)
        self.assertAlmostEqual(square.distance(7, 4), 3)
        ring = Difference(Circle(0, 0, 5), Circle(0, 0, 3))
        self.assertGreater(ring.distance(0, 0), 0)
        self.assertLess(ring.distance(4, 0), 0)

    def test_edges_are_anti_aliased_and_transparent_pixels_are_black(self):
        canvas = Canvas(4, 1)
        canvas.paint(Box(0, 0, 2, 1), (1.0, 0.5, 0.0, 1.0))  # edge exactly between pixels 1 and 2
        canvas.paint(Box(2.75, 0, 4, 1), (1.0, 1.0, 1.0, 1.0))  # covers three quarters of pixel 2
        out = canvas.to_rgba8()[0].tolist()
        self.assertEqual(out[0], [255, 128, 0, 255])
        self.assertEqual(out[1], [255, 128, 0, 255])
        self.assertEqual(out[2], [255, 255, 255, 64])  # straight colour, partial alpha
        self.assertEqual(out[3], [255, 255, 255, 255])

    def test_placed_views_move_scale_and_turn_clockwise(self):
        canvas = Canvas(12, 12)
        canvas.placed(6, 6, 2.0, 90.0).paint(Box(0, -0.5, 2.5, 0.5), (1.0, 1.0, 1.0, 1.0))
        alpha = canvas.to_rgba8()[..., 3].astype(int)
        # A bar pointing right in the view points down on the canvas, twice as large.
        self.assertTrue((alpha[6:11, 5:7] == 255).all())
        self.assertEqual(alpha.sum(), 255 * 10)

    def test_bleeding_fills_every_transparent_pixel_and_keeps_alpha(self):
        row = np.zeros((1, 7, 4), np.uint8)
        row[0, 1] = (255, 0, 0, 40)
        row[0, 5] = (0, 0, 255, 255)
        out = bleed(row)[0].tolist()
        self.assertEqual(out, [[255, 0, 0, 0], [255, 0, 0, 40], [255, 0, 0, 0], [128, 0, 128, 0],
                               [0, 0, 255, 0], [0, 0, 255, 255], [0, 0, 255, 0]])
        empty = np.zeros((3, 3, 4), np.uint8)
        self.assertTrue(np.array_equal(bleed(empty), empty))


class ImagesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.images = {name: load(name) for name in generate_images.IMAGES}

    def test_committed_images_are_what_the_generator_draws(self):
        for name in generate_images.IMAGES:
            with self.subTest(name=name):
                drawn = generate_images.render(name)
                self.assertTrue(np.array_equal(self.images[name], drawn),
                                "run tools/generate_images.py and commit the result")

    def test_transparent_pixels_of_bled_images_carry_the_colour_beside_them(self):
        for name in set(generate_images.IMAGES) - generate_images.UNBLED:
            image = self.images[name].astype(int)
            colour, visible = image[..., :3], image[..., 3] > 0
            hidden = ~visible
            # Right beside the sprite, within the range of the visible neighbours' colours.
            low, high = np.full(colour.shape, 255), np.zeros(colour.shape, int)
            beside = np.zeros(hidden.shape, bool)
            padded_colour = np.pad(colour, ((1, 1), (1, 1), (0, 0)))
            padded_visible = np.pad(visible, 1)
            height, width = visible.shape
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    shown = padded_visible[1 + dy:1 + dy + height, 1 + dx:1 + dx + width]
                    near = padded_colour[1 + dy:1 + dy + height, 1 + dx:1 + dx + width]
                    low = np.where(shown[..., None], np.minimum(low, near), low)
                    high = np.where(shown[..., None], np.maximum(high, near), high)
                    beside |= shown
            ring = hidden & beside
            self.assertTrue(((colour[ring] >= low[ring] - 1) & (colour[ring] <= high[ring] + 1)).all(), name)
            # Everywhere, within the sprite's own colours: black only where the sprite has black.
            own = colour[visible]
            self.assertTrue(((colour[hidden] >= own.min(axis=0)) & (colour[hidden] <= own.max(axis=0))).all(), name)

    def test_unbled_images_stay_black_where_transparent(self):
        for name in generate_images.UNBLED:
            image = self.images[name]
            self.assertFalse(image[image[..., 3] == 0][:, :3].any(), name)

    def test_sizes(self):
        expected = {"data/images/tank.png": (64, 80), "data/images/turret.png": (32, 72),
                    "data/images/bullet.png": (8, 18), "data/images/sheild.png": (128, 128),
                    "data/images/enemy_bullet.png": (20, 28), "data/images/crosshair.png": (32, 32),
                    "data/images/vignette2.png": (800, 600), "data/missing_image.png": (32, 32),
                    "data/images/icon.png": (128, 128), "examples/bunnymark/data/images/bunny.png": (26, 32),
                    "examples/easings/data/images/dot.png": (24, 24),
                    "examples/rocks/data/images/ship.png": (32, 36), "examples/rocks/data/images/rock.png": (40, 40),
                    "examples/rocks/data/images/spark.png": (16, 16), "examples/rocks/data/images/shot.png": (8, 18),
                    "examples/explorer/data/images/beetle.png": (128, 32),
                    "examples/explorer/data/images/gem.png": (24, 24)}
        self.assertEqual(set(expected), set(generate_images.IMAGES))
        for name, size in expected.items():
            height, width = self.images[name].shape[:2]
            self.assertEqual((width, height), size, name)

    def test_sprites_fade_out_before_their_borders(self):
        # A sprite touching its border would show a hard cut when rotated or scaled up.
        for name in ("data/images/tank.png", "data/images/turret.png", "data/images/bullet.png",
                     "data/images/enemy_bullet.png", "data/images/sheild.png", "data/images/crosshair.png",
                     "examples/bunnymark/data/images/bunny.png", "examples/easings/data/images/dot.png",
                     "examples/rocks/data/images/ship.png", "examples/rocks/data/images/rock.png",
                     "examples/rocks/data/images/spark.png", "examples/rocks/data/images/shot.png",
                     "examples/explorer/data/images/gem.png"):
            self.assertLess(border(self.images[name])[:, 3].max(), 16, name)
        # Each frame of a sprite sheet is a sprite of its own.
        sheet = self.images["examples/explorer/data/images/beetle.png"]
        frame_width = generate_images.BEETLE_FRAME[0]
        for left in range(0, sheet.shape[1], frame_width):
            self.assertLess(border(sheet[:, left:left + frame_width])[:, 3].max(), 16, f"beetle frame at {left}")

    def test_turret_pivot_sits_on_the_ring_with_the_barrel_above(self):
        image = self.images["data/images/turret.png"]
        height, width = image.shape[:2]
        pivot_x, pivot_y = int(width * 0.5), int(height * 0.75)
        self.assertEqual(alpha_at(image, pivot_x, pivot_y), 255)
        rows = np.flatnonzero(image[..., 3].any(axis=1))
        # The ring is centred on the pivot: it reaches as far below as to either side.
        columns = np.flatnonzero(image[pivot_y, :, 3])
        ring_radius = (columns[-1] - columns[0] + 1) / 2
        self.assertAlmostEqual(rows[-1] + 1 - pivot_y, ring_radius, delta=2)
        self.assertLess(rows[0], 4)  # the muzzle is near the top edge

    def test_shield_adds_nothing_outside_its_halo(self):
        image = self.images["data/images/sheild.png"]
        height, width = image.shape[:2]
        self.assertFalse(border(image)[:, :3].any())
        centre = pixel_at(image, width // 2, height // 2)
        rim = pixel_at(image, width // 2 + 53, height // 2)
        self.assertGreater(rim[2], 200)  # bright cyan: blue leads
        self.assertGreater(rim[2], rim[0])
        self.assertLess(max(centre[:3]), rim[2] // 4)

    def test_enemy_bullet_points_down(self):
        image = self.images["data/images/enemy_bullet.png"].astype(int)
        brightness = image[..., :3].sum(axis=2) * image[..., 3]
        brightest_row = np.unravel_index(brightness.argmax(), brightness.shape)[0]
        self.assertGreater(brightest_row, image.shape[0] / 2)

    def test_vignette_is_black_clear_in_the_middle_and_darkest_in_the_corners(self):
        image = self.images["data/images/vignette2.png"]
        height, width = image.shape[:2]
        self.assertFalse(image[..., :3].any())
        self.assertEqual(alpha_at(image, width // 2, height // 2), 0)
        self.assertEqual(alpha_at(image, width // 2 + 100, height // 2 + 80), 0)
        edge = alpha_at(image, width // 2, 0)
        corner = alpha_at(image, 0, 0)
        self.assertTrue(0 < edge < corner < 255, (edge, corner))

    def test_crosshair_centre_lies_on_the_pivot(self):
        image = self.images["data/images/crosshair.png"]
        height, width = image.shape[:2]
        for x, y in ((width // 2, height // 2), (width // 2 - 1, height // 2 - 1)):
            self.assertEqual(pixel_at(image, x, y), (255, 255, 255, 255))
        self.assertEqual(alpha_at(image, width // 2 + 3, height // 2 + 3), 0)


    def test_icon_is_an_opaque_rounded_badge(self):
        image = self.images["data/images/icon.png"]
        height, width = image.shape[:2]
        self.assertTrue((image[height // 4:3 * height // 4, width // 4:3 * width // 4, 3] == 255).all())
        self.assertEqual(image[[0, 0, -1, -1], [0, -1, 0, -1], 3].tolist(), [0, 0, 0, 0])
        self.assertEqual(image[height // 2, 1, 3], 0)  # the badge stays clear of the edge

    def test_example_sprites_are_opaque_in_the_middle_with_clear_corners(self):
        for name in ("examples/bunnymark/data/images/bunny.png", "examples/easings/data/images/dot.png"):
            image = self.images[name]
            height, width = image.shape[:2]
            self.assertEqual(alpha_at(image, width // 2, height // 2), 255, name)
            self.assertEqual(image[[0, 0, -1, -1], [0, -1, 0, -1], 3].tolist(), [0, 0, 0, 0], name)
        red, green, blue, _ = pixel_at(self.images["examples/easings/data/images/dot.png"], 14, 15)
        self.assertTrue(red > green > blue, "the ball is warm orange")


class SoundTest(unittest.TestCase):
    def test_sounds_are_short_mono_16_bit_and_what_the_generator_makes(self):
        game = ("shot", "enemy_destroyed", "energy_lost", "win", "fail", "title")
        self.assertEqual(set(generate_sound.SOUNDS), {f"data/sounds/{name}.wav" for name in game}
                         | {"data/missing_sample.wav", "examples/bunnymark/data/sounds/pop.wav"})
        for name, make in generate_sound.SOUNDS.items():
            with self.subTest(name=name), wave.open(os.path.join(REPO, name), "rb") as sample:
                format_ = (sample.getnchannels(), sample.getsampwidth(), sample.getframerate())
                self.assertEqual(format_, (1, 2, 44100))
                self.assertLess(sample.getnframes() / sample.getframerate(), 1.0)
                frames = sample.readframes(sample.getnframes())
                values = struct.unpack("<%dh" % (len(frames) // 2), frames)
                self.assertEqual((values[0], values[-1]), (0, 0))  # no click at either end
                self.assertTrue(32767 * 0.3 < max(map(abs, values)) < 32767 * 0.9, "heard, and clear of clipping")
                self.assertTrue(list(values) == generate_sound.to_pcm(make()),
                                "run tools/generate_sound.py and commit the result")

    def test_placeholder_is_a_soft_blip(self):
        with wave.open(os.path.join(DATA, "missing_sample.wav"), "rb") as sample:
            self.assertLess(sample.getnframes() / sample.getframerate(), 0.5)
            frames = sample.readframes(sample.getnframes())
        self.assertLess(max(map(abs, struct.unpack("<%dh" % (len(frames) // 2), frames))), 32767 * 0.6)


class FontsTest(unittest.TestCase):
    def test_fonts_are_font_files_with_their_licences_beside_them(self):
        signatures = (b"\x00\x01\x00\x00", b"OTTO", b"true")
        for name, licence in (("lacuna.ttf", "LICENSE-Lato.txt"), ("fonts/lacuna.ttf", "fonts/LICENSE-Lato.txt"),
                              ("fonts/StencilStd.otf", "fonts/LICENSE-BebasNeue.txt")):
            with open(os.path.join(DATA, name), "rb") as font:
                self.assertIn(font.read(4), signatures, name)
            with open(os.path.join(DATA, licence), encoding="utf-8") as text:
                self.assertIn("SIL OPEN FONT LICENSE Version 1.1", text.read(), licence)


if __name__ == "__main__":
    unittest.main()
