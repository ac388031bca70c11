"""The loop on machines slower than the virtual display: swaps that wait for a 50 Hz refresh, and frames
that take 25 ms to draw. A program on the framework keeps its 60 updates a second, draws what the machine
can show, and its window's close button answers at once, however long it ran."""

import sys
import time

from harness import LOOP_PROBE, SWAP_PACER, WindowTestCase, main

SECONDS = 6


def counts(line):
    """(updates, frames, seconds) of one of the probe's lines."""
    words = line.split()
    return int(words[2]), int(words[4]), float(words[6])


class Loop(WindowTestCase):
    def run_probe(self, swap_hz=0, draw_ms=0):
        """Runs the probe for SECONDS of its own wall time, then closes its window: its updates and frames
        per second over that time, and the updates that ran after the close was sent."""
        game = self.start_game(command=[LOOP_PROBE, "--draw-ms", str(draw_ms)], window_name="loop_probe",
                               extra_env={"LD_PRELOAD": SWAP_PACER, "TANK_SWAP_HZ": str(swap_hz)})
        window = game.wait_for_window()
        seconds = [counts(game.process.stdout.readline().decode()) for _ in range(SECONDS)]
        sent = time.monotonic()
        self.screen.send_close_request(window)
        self.assertEqual(game.wait_for_exit(), 0)
        close_delay = time.monotonic() - sent
        end = counts(game.process.stdout.read().decode().splitlines()[-1])
        (first_updates, first_frames, first_time), (updates, frames, last_time) = seconds[0], seconds[-1]
        span = last_time - first_time
        figures = ((updates - first_updates) / span, (frames - first_frames) / span, end[0] - updates)
        print(f"\n{swap_hz} Hz swaps, {draw_ms} ms more a frame: {figures[0]:.1f} updates/s, {figures[1]:.1f} "
              f"frames/s; {figures[2]} updates and {close_delay:.2f} s after the close", file=sys.stderr)
        return figures

    def check_keeps_pace(self, updates_per_second, frames_per_second, updates_after_close):
        # Before, the waiting ticks slowed the game to the display's pace and queued the close behind them.
        self.assertGreater(updates_per_second, 55)
        self.assertLess(frames_per_second, updates_per_second - 5, "a tick with a successor waiting is not drawn")
        self.assertLess(updates_after_close, 30, "the close is answered before the waiting ticks")

    def test_swaps_that_wait_for_a_50_hz_display_keep_the_game_at_60_updates_and_the_window_answering(self):
        self.check_keeps_pace(*self.run_probe(swap_hz=50))

    def test_frames_that_take_25_ms_keep_the_game_at_60_updates_and_the_window_answering(self):
        self.check_keeps_pace(*self.run_probe(draw_ms=25))


if __name__ == "__main__":
    main()
