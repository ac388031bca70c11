#!/usr/bin/env python3
"""Synthesises the game's sounds as 16-bit mono PCM WAV at 44.1 kHz: the placeholder sample, TANK's
shot, hit, energy loss, win, fail and title sounds, and the bunnymark example's pop.

Usage: tools/generate_sound.py [root]   (default: this repository; the files go to their paths under it)

Every sound is a function of time built from a few parts: tones that glide in pitch, noise from a
fixed-seed generator, and an envelope that rises from exact silence and falls back to it, so that no
sound starts or ends with a click. The output is the same on every run.
"""

import math
import os
import struct
import sys
import wave

SAMPLE_RATE = 44100
EDGE = 0.01  # seconds of fade to exact silence at the end


def envelope(t, duration, attack, decay):
    """A ramp up over `attack`, a fall to 1/e every `decay` seconds, and a fade to 0 at the end."""
    rise = min(t / attack, 1.0) if attack > 0 else 1.0
    return rise * math.exp(-t / decay) * min((duration - t) / EDGE, 1.0)


def glide(start_hz, end_hz, duration):
    """The phase of a tone whose pitch moves exponentially from start_hz to end_hz, as a function of time."""
    ratio = math.log(end_hz / start_hz) / duration
    if ratio == 0.0:
        return lambda t: 2.0 * math.pi * start_hz * t
    return lambda t: 2.0 * math.pi * start_hz * (math.exp(ratio * t) - 1.0) / ratio


class Noise:
    """White noise from a 32-bit linear congruential generator with a fixed seed, low-passed by one pole
    whose cutoff may move: the same numbers everywhere, whatever the Python version."""

    def __init__(self, seed):
        self.state = seed
        self.level = 0.0

    def white(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state / 2147483648.0 - 1.0

    def low_passed(self, cutoff_hz):
        amount = 1.0 - math.exp(-2.0 * math.pi * cutoff_hz / SAMPLE_RATE)
        self.level += amount * (self.white() - self.level)
        return self.level


def frames(duration):
    """The times of the sample frames of a sound; the last frame lies exactly at `duration`."""
    count = int(SAMPLE_RATE * duration)
    return [i * duration / (count - 1) for i in range(count)]


def blip_samples():
    """The placeholder: a soft blip, a sine gliding down from 880 Hz to 620 Hz under a fast decay."""
    duration, start_hz, end_hz = 0.18, 880.0, 620.0
    peak = 0.45  # of full scale: soft, well clear of clipping
    attack, decay = 0.006, 0.045
    count = int(SAMPLE_RATE * duration)
    samples = []
    phase = 0.0
    for i in range(count):
        t = i / SAMPLE_RATE
        progress = i / (count - 1)
        frequency = start_hz + (end_hz - start_hz) * progress
        phase += 2.0 * math.pi * frequency / SAMPLE_RATE
        level = min(t / attack, 1.0) * math.exp(-t / decay)
        level *= min((count - 1 - i) / (SAMPLE_RATE * 0.01), 1.0)
        samples.append(peak * level * math.sin(phase))
    return samples


def shot_samples():
    """A shot leaving the barrel: a bright tone diving from 1.5 kHz to 220 Hz over a puff of noise."""
    duration = 0.2
    phase = glide(1500.0, 220.0, 0.12)
    noise = Noise(17)
    out = []
    for t in frames(duration):
        tone = math.sin(phase(min(t, 0.12)) + 2.0 * math.pi * 220.0 * max(t - 0.12, 0.0))
        puff = noise.low_passed(6000.0) * math.exp(-t / 0.012)
        out.append(0.7 * envelope(t, duration, 0.002, 0.06) * (0.8 * tone + 0.6 * puff))
    return out


def enemy_destroyed_samples():
    """An enemy bursting: a burst of noise whose brightness falls away over a low thump."""
    duration = 0.42
    thump = glide(150.0, 45.0, duration)
    noise = Noise(5)
    out = []
    for t in frames(duration):
        crackle = noise.low_passed(5000.0 * math.exp(-t / 0.08) + 300.0)
        body = math.sin(thump(t)) * math.exp(-t / 0.12)
        out.append(0.55 * envelope(t, duration, 0.003, 0.14) * (1.4 * crackle + 0.7 * body))
    return out


def energy_lost_samples():
    """Energy lost: a low, hoarse warning sliding down, with a tremble."""
    duration = 0.5
    phase = glide(200.0, 110.0, duration)
    out = []
    for t in frames(duration):
        p = phase(t)
        # The first odd harmonics of a square wave: hoarse without aliasing.
        buzz = math.sin(p) + math.sin(3.0 * p) / 3.0 + math.sin(5.0 * p) / 5.0
        tremble = 0.75 + 0.25 * math.cos(2.0 * math.pi * 18.0 * t)
        out.append(0.75 * envelope(t, duration, 0.01, 0.3) * tremble * buzz)
    return out


def notes(sequence, duration, decay, timbre):
    """Plucked notes (start seconds, frequency) summed into one sound of `duration` seconds."""
    out = []
    for t in frames(duration):
        total = 0.0
        for start, hz in sequence:
            if t >= start:
                since = t - start
                total += envelope(since, duration - start, 0.004, decay) * timbre(2.0 * math.pi * hz * since)
        out.append(total * min((duration - t) / EDGE, 1.0))
    return out


def bell(p):
    return math.sin(p) + 0.3 * math.sin(2.0 * p) + 0.1 * math.sin(3.0 * p)


def reed(p):
    return math.sin(p) + 0.25 * math.sin(3.0 * p) + 0.1 * math.sin(5.0 * p)


def win_samples():
    """WIN: a major arpeggio climbing an octave, the top note left to ring."""
    sequence = [(0.0, 523.25), (0.09, 659.25), (0.18, 783.99), (0.27, 1046.5)]
    return [0.33 * s for s in notes(sequence, 0.8, 0.18, bell)]


def fail_samples():
    """FAIL: three notes stepping down, then a low one that fades slowly."""
    sequence = [(0.0, 392.0), (0.16, 369.99), (0.32, 349.23), (0.48, 261.63)]
    return [0.36 * s for s in notes(sequence, 0.95, 0.2, reed)]


def title_samples():
    """The title: two soft chime notes a fifth apart."""
    sequence = [(0.0, 392.0), (0.12, 587.33)]
    return [0.36 * s for s in notes(sequence, 0.6, 0.2, bell)]


def pop_samples():
    """The bunnymark example's pop: a quick rising bloop."""
    duration = 0.09
    phase = glide(300.0, 1100.0, duration)
    return [0.6 * envelope(t, duration, 0.002, 0.04) * math.sin(phase(t)) for t in frames(duration)]


# Every sound, by its path from the repository root.
SOUNDS = {
    "data/missing_sample.wav": blip_samples,
    "data/sounds/shot.wav": shot_samples,
    "data/sounds/enemy_destroyed.wav": enemy_destroyed_samples,
    "data/sounds/energy_lost.wav": energy_lost_samples,
    "data/sounds/win.wav": win_samples,
    "data/sounds/fail.wav": fail_samples,
    "data/sounds/title.wav": title_samples,
    "examples/bunnymark/data/sounds/pop.wav": pop_samples,
}


def to_pcm(samples):
    """The samples as 16-bit integers, clipped to full scale."""
    return [max(-32767, min(32767, int(round(s * 32767)))) for s in samples]


def write_wav(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(SAMPLE_RATE)
        out.writeframes(struct.pack("<%dh" % len(samples), *to_pcm(samples)))


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    for name, make in SOUNDS.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        write_wav(path, make())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
