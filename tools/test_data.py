#!/usr/bin/env python3
"""Checks the committed data files against what the game and the generators promise.

Run from anywhere: python3 tools/test_data.py
"""

import os
import struct
import unittest
import wave

import generate_images
import generate_sound
from pngio import decode_png, encode_png, read_png
from raster import Box, Canvas, Circle, Difference, Polygon

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")


def load(name):
    return read_png(os.path.join(DATA, name))


def alpha_at(image, x, y):
    width, _, rgba = image
    return rgba[(y * width + x) * 4 + 3]


def pixel_at(image, x, y):
    width, _, rgba = image
    i = (y * width + x) * 4
    return tuple(rgba[i:i + 4])


class PngCodecTest(unittest.TestCase):
    def test_round_trip_keeps_every_byte_whatever_filter_each_row_gets(self):
        # Flat, ramped and noisy rows make the encoder pick different filters.
        width, height = 7, 6
        rows = [bytes([0] * width * 4), bytes(range(width * 4)), bytes((i * 97 + 13) % 256 for i in range(width * 4)),
                bytes([255, 0, 128, 64] * width), bytes((i * i) % 251 for i in range(width * 4)), bytes([9] * width * 4)]
        rgba = b"".join(rows)
        self.assertEqual(decode_png(encode_png(width, height, rgba)), (width, height, rgba))

    def test_rejects_wrong_pixel_count_and_corrupt_files(self):
        with self.assertRaises(ValueError):
            encode_png(2, 2, bytes(15))
        data = bytearray(encode_png(1, 1, bytes([1, 2, 3, 4])))
        data[-20] ^= 0xFF  # inside the IDAT chunk: its CRC no longer matches
        with self.assertRaises(ValueError):
            decode_png(bytes(data))
        with self.assertRaises(ValueError):
            decode_png(b"GIF89a")


class RasterTest(unittest.TestCase):
    def test_distances_are_signed_pixels(self):
        self.assertAlmostEqual(Circle(0, 0, 2).distance(5, 0), 3)
        self.assertAlmostEqual(Box(0, 0, 10, 4).distance(5, 2), -2)
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
        out = canvas.to_rgba8()
        self.assertEqual(tuple(out[0:4]), (255, 128, 0, 255))
        self.assertEqual(tuple(out[4:8]), (255, 128, 0, 255))
        self.assertEqual(tuple(out[8:12]), (255, 255, 255, 64))  # straight colour, partial alpha
        self.assertEqual(tuple(out[12:16]), (255, 255, 255, 255))


class ImagesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.images = {name: load(name) for name in generate_images.IMAGES}

    def test_committed_images_are_what_the_generator_draws(self):
        for name, draw in generate_images.IMAGES.items():
            with self.subTest(name=name):
                canvas = draw()
                drawn = (canvas.width, canvas.height, canvas.to_rgba8())
                self.assertTrue(self.images[name] == drawn, "run tools/generate_images.py and commit the result")

    def test_sizes(self):
        expected = {"images/tank.png": (64, 80), "images/turret.png": (32, 72),
                    "images/bullet.png": (8, 18), "images/sheild.png": (128, 128),
                    "images/enemy_bullet.png": (20, 28), "images/crosshair.png": (32, 32),
                    "images/vignette2.png": (800, 600), "missing_image.png": (32, 32)}
        for name, size in expected.items():
            self.assertEqual(self.images[name][:2], size, name)

    def test_sprites_fade_out_before_their_borders(self):
        # A sprite touching its border would show a hard cut when rotated or scaled up.
        for name in ("images/tank.png", "images/turret.png", "images/bullet.png",
                     "images/enemy_bullet.png", "images/sheild.png", "images/crosshair.png"):
            image = self.images[name]
            width, height, _ = image
            border = [(x, y) for x in range(width) for y in (0, height - 1)]
            border += [(x, y) for y in range(height) for x in (0, width - 1)]
            self.assertLess(max(alpha_at(image, x, y) for x, y in border), 16, name)

    def test_turret_pivot_sits_on_the_ring_with_the_barrel_above(self):
        image = self.images["images/turret.png"]
        width, height, _ = image
        pivot_x, pivot_y = int(width * 0.5), int(height * 0.75)
        self.assertEqual(alpha_at(image, pivot_x, pivot_y), 255)
        rows = [y for y in range(height) if any(alpha_at(image, x, y) for x in range(width))]
        # The ring is centred on the pivot: it reaches as far below as to either side.
        columns = [x for x in range(width) if alpha_at(image, x, pivot_y)]
        ring_radius = (columns[-1] - columns[0] + 1) / 2
        self.assertAlmostEqual(rows[-1] + 1 - pivot_y, ring_radius, delta=2)
        self.assertLess(rows[0], 4)  # the muzzle is near the top edge

    def test_shield_adds_nothing_outside_its_halo(self):
        image = self.images["images/sheild.png"]
        width, height, _ = image
        border = [pixel_at(image, x, y) for x in range(width) for y in (0, height - 1)]
        border += [pixel_at(image, x, y) for y in range(height) for x in (0, width - 1)]
        self.assertTrue(all(p[:3] == (0, 0, 0) for p in border))
        centre = pixel_at(image, width // 2, height // 2)
        rim = pixel_at(image, width // 2 + 53, height // 2)
        self.assertGreater(rim[2], 200)  # bright cyan: blue leads
        self.assertGreater(rim[2], rim[0])
        self.assertLess(max(centre[:3]), rim[2] // 4)

    def test_enemy_bullet_points_down(self):
        image = self.images["images/enemy_bullet.png"]
        width, height, _ = image
        brightest = max(((sum(pixel_at(image, x, y)[:3]) * alpha_at(image, x, y), y)
                         for x in range(width) for y in range(height)))
        self.assertGreater(brightest[1], height / 2)

    def test_vignette_is_black_clear_in_the_middle_and_darkest_in_the_corners(self):
        image = self.images["images/vignette2.png"]
        width, height, rgba = image
        self.assertEqual(bytes(rgba[c] for c in range(0, len(rgba), 4)), bytes(width * height))
        self.assertEqual(alpha_at(image, width // 2, height // 2), 0)
        self.assertEqual(alpha_at(image, width // 2 + 100, height // 2 + 80), 0)
        edge = alpha_at(image, width // 2, 0)
        corner = alpha_at(image, 0, 0)
        self.assertTrue(0 < edge < corner < 255, (edge, corner))

    def test_crosshair_centre_lies_on_the_pivot(self):
        image = self.images["images/crosshair.png"]
        width, height, _ = image
        for x, y in ((width // 2, height // 2), (width // 2 - 1, height // 2 - 1)):
            self.assertEqual(pixel_at(image, x, y), (255, 255, 255, 255))
        self.assertEqual(alpha_at(image, width // 2 + 3, height // 2 + 3), 0)


class SoundTest(unittest.TestCase):
    def test_placeholder_sample_is_a_short_soft_16_bit_blip(self):
        with wave.open(os.path.join(DATA, "missing_sample.wav"), "rb") as sample:
            self.assertEqual((sample.getnchannels(), sample.getsampwidth()), (1, 2))
            self.assertLess(sample.getnframes() / sample.getframerate(), 0.5)
            frames = sample.readframes(sample.getnframes())
        values = struct.unpack("<%dh" % (len(frames) // 2), frames)
        self.assertEqual((values[0], values[-1]), (0, 0))  # no click at either end
        self.assertLess(max(abs(v) for v in values), 32767 * 0.6)
        self.assertGreater(max(abs(v) for v in values), 32767 * 0.2)
        expected = [int(round(s * 32767)) for s in generate_sound.blip_samples()]
        self.assertTrue(list(values) == expected, "run tools/generate_sound.py and commit the result")


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
