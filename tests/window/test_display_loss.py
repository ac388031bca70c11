"""The X server killed under a running game, as when a session ends, or while it
starts: the program ends at once, cleanly, with a non-zero status, every time."""

import signal
import time

from harness import Game, VirtualScreen, WindowTestCase, game_drawn, main

RUNS = 20
STARTING_RUNS = 40
DISPLAY_LOST = 1  # the exit status when the display goes away


class DisplayLoss(WindowTestCase):
    def test_the_game_ends_cleanly_each_time_its_x_server_is_killed(self):
        exits = []
        for run in range(RUNS):
            with self.subTest(run=run + 1):
                exits.append(self.kill_the_server_under_the_game(run))
        print(f"\n{len(exits)} X servers killed: the game ended after {min(exits):.3f} to {max(exits):.3f} s")

    def kill_the_server_under_the_game(self, run):
        """Seconds from the kill to the game's end: printed, not judged, since a
        busy machine can stretch them; a hang fails in wait_for_exit."""
        # A server of its own each time; the test's own one stays unused.
        screen = VirtualScreen()
        self.addCleanup(screen.close)
        game = Game(screen)
        self.addCleanup(game.close)
        window = game.wait_for_window()
        x, y, _, _ = screen.window_geometry(window)
        self.wait_for_frame(lambda image: game_drawn(image, x, y), screen=screen,
                            message="the game never drew a frame")
        # Hit the game at different moments of its frame; the harness lets go
        # of the server first, or the X library would end the test too.
        time.sleep(0.02 * (run % 5))
        screen.disconnect()
        screen.process.send_signal(signal.SIGKILL if run % 2 == 0 else signal.SIGTERM)
        killed = time.monotonic()
        status = game.wait_for_exit()
        took = time.monotonic() - killed
        self.assertIsNotNone(status, "still running after the X server was killed")
        errors = game.standard_error()
        self.assertEqual(status, DISPLAY_LOST, f"a negative status is a signal; standard error:\n{errors}")
        self.assertIn("lost the connection to the display", errors)
        return took

    def test_the_game_ends_cleanly_when_its_x_server_is_killed_while_it_starts(self):
        for run in range(STARTING_RUNS):
            with self.subTest(run=run + 1):
                screen = VirtualScreen()
                self.addCleanup(screen.close)
                game = Game(screen)
                self.addCleanup(game.close)
                time.sleep((run + 0.5) / STARTING_RUNS)  # over the first second, while the window is made
                screen.process.send_signal(signal.SIGKILL if run % 2 == 0 else signal.SIGTERM)
                self.assertEqual(game.wait_for_exit(), DISPLAY_LOST, "a negative status is a signal")
                errors = game.standard_error()
                self.assertTrue("lost the connection to the display" in errors
                                or "Error creating the display." in errors, errors)


if __name__ == "__main__":
    main()
