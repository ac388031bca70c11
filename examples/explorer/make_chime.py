#!/usr/bin/env python3
"""Writes the explorer's find sound: two bell-like notes a fifth apart, 16-bit mono PCM WAV at
44.1 kHz, rising from exact silence and falling back to it.

Usage: make_chime.py OUTPUT.wav   (the build runs it; it needs nothing beyond Python itself)
"""

import math
import os
import struct
import sys
import wave

RATE = 44100
LENGTH = 0.5  # seconds


def sample(t):
    level = 0.0
    for start, hz in ((0.0, 1318.5), (0.09, 1975.5)):  # E6, then B6
        if t >= start:
            s = t - start
            bell = math.sin(2 * math.pi * hz * s) + 0.3 * math.sin(2 * math.pi * 2.76 * hz * s) * math.exp(-s / 0.03)
            level += 0.3 * bell * min(s / 0.004, 1.0) * math.exp(-s / 0.12)
    return level * min((LENGTH - t) / 0.02, 1.0)


def main(path):
    count = int(RATE * LENGTH)
    samples = [sample(i * LENGTH / (count - 1)) for i in range(count)]
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", round(32767 * s)) for s in samples))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
