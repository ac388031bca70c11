"""The game heard without a speaker: the sound library's file-writing device stands in for one and
writes the mixed output, in real time, into a WAV file that the test reads while the game runs."""

import array
import math
import os
import tempfile
import time

from harness import BACKGROUND, PATIENCE, WindowTestCase, differs, game_drawn, hud_text, main

RATE = 44100  # frames a second, of two 32-bit float samples


class Sound(WindowTestCase):
    def heard(self, until):
        """The samples written so far, once until(samples) holds. Each reading also bounds when the
        first frame was written, which puts the file and the test's clock together."""
        deadline = time.monotonic() + PATIENCE
        while time.monotonic() < deadline:
            with open(self.wav, "rb") as file:
                data = file.read()
            start = data.find(b"data") + 8  # the header's sizes are written only at the end
            samples = array.array("f", data[start:start + (len(data) - start) // 8 * 8])
            self.origin = min(self.origin, time.monotonic() - len(samples) / 2 / RATE)
            if until(samples):
                return samples
            time.sleep(0.005)
        raise AssertionError("the sound never came to what the test waits for")

    def click_in_quiet(self):
        """The click's time, where its 50 ms before start in the file, and the sound from there to 1 s after."""
        self.heard(lambda s: len(s) > RATE and not any(s[-RATE // 2:]))  # quiet for 0.25 s
        self.screen.xdotool("mousedown", 1)
        clicked = time.monotonic()
        self.screen.xdotool("sleep", 0.1, "mouseup", 1)
        samples = self.heard(lambda s: len(s) >= 2 * RATE * (clicked + 1 - self.origin))
        start = 2 * round((clicked - 0.05 - self.origin) * RATE)
        return clicked, start, samples[start:]

    def test_a_shot_is_heard_within_a_few_ticks_and_m_silences_it(self):
        folder = tempfile.mkdtemp(prefix="tank-sound-")
        self.wav, self.origin = os.path.join(folder, "heard.wav"), math.inf
        with open(os.path.join(folder, "alsoft.conf"), "w") as out:
            out.write(f"[general]\nfrequency={RATE}\nchannels=stereo\nsample-type=float32\n[wave]\nfile={self.wav}\n")
        with open(os.path.join(folder, ".allegro5rc"), "w") as out:
            out.write("[audio]\ndriver=openal\n")
        game = self.start_game(extra_env={"ALSOFT_DRIVERS": "wave", "HOME": folder,
                                          "ALSOFT_CONF": os.path.join(folder, "alsoft.conf")})
        x, y, _, _ = self.screen.window_geometry(game.wait_for_window())
        self.screen.xdotool("mousemove", x + 100, y + 110)  # straight above the left tank
        self.wait_for_frame(lambda image: game_drawn(image, x, y) and image.count(
            (x + 84, y + 94, x + 116, y + 126), lambda rgb: differs(rgb, BACKGROUND)) > 20)
        self.heard(any)  # the title's sound

        clicked, start, after = self.click_in_quiet()
        onset = next((i for i, v in enumerate(after) if abs(v) > 1e-4), None)
        self.assertIsNotNone(onset, "the shot is heard")
        delay_ms = ((start + onset) / 2 / RATE + self.origin - clicked) * 1000
        shot = after[onset:onset + 2 * RATE // 5]
        rms = math.sqrt(sum(v * v for v in shot) / len(shot))
        print(f"\nshot: heard {delay_ms:.0f} ms after the click ({delay_ms * 60 / 1000:.1f} ticks); first 200 ms: "
              f"RMS {rms:.4f} ({20 * math.log10(rms):.1f} dBFS), peak {max(map(abs, shot)):.3f}")
        self.assertLess(delay_ms, 1000, "heard with the shot, not long after")

        mark = (x + 712, y + 28, x + 772, y + 52)  # the muted mark, top right
        self.screen.press_key("m")
        self.wait_for_frame(lambda image: image.count(mark, hud_text) > 15, region=mark, message="no muted mark")
        self.assertFalse(any(self.click_in_quiet()[2]), "muted: nothing is heard")
        self.screen.press_key("m")
        self.wait_for_frame(lambda image: image.count(mark, hud_text) < 5, region=mark, message="mark stays")


if __name__ == "__main__":
    main()
