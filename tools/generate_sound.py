#!/usr/bin/env python3
"""Synthesises the placeholder sample: a soft, short blip as 16-bit mono PCM WAV.

Usage: tools/generate_sound.py [data directory]   (default: data/ of this repository)
"""

import math
import os
import struct
import sys
import wave

SAMPLE_RATE = 44100
DURATION = 0.18  # seconds
START_HZ = 880.0
END_HZ = 620.0
PEAK = 0.45  # of full scale: soft, well clear of clipping
ATTACK = 0.006  # seconds; a ramp rather than a step avoids a click
DECAY = 0.045  # seconds for the level to fall to 1/e


def blip_samples():
    """The blip as floats in [-1, 1]: a sine gliding down in pitch under a fast decay."""
    count = int(SAMPLE_RATE * DURATION)
    samples = []
    phase = 0.0
    for i in range(count):
        t = i / SAMPLE_RATE
        progress = i / (count - 1)
        frequency = START_HZ + (END_HZ - START_HZ) * progress
        phase += 2.0 * math.pi * frequency / SAMPLE_RATE
        envelope = min(t / ATTACK, 1.0) * math.exp(-t / DECAY)
        # The last few milliseconds fade to exact silence so playback ends without a click.
        envelope *= min((count - 1 - i) / (SAMPLE_RATE * 0.01), 1.0)
        samples.append(PEAK * envelope * math.sin(phase))
    return samples


def write_wav(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(SAMPLE_RATE)
        out.writeframes(b"".join(struct.pack("<h", int(round(s * 32767))) for s in samples))


def main(argv):
    data_dir = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data")
    os.makedirs(data_dir, exist_ok=True)
    write_wav(os.path.join(data_dir, "missing_sample.wav"), blip_samples())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
