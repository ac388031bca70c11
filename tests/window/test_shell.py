"""The program's shell in a real window: the frame, quitting, the start-up report, exit statuses."""

import os

from harness import BACKGROUND, LOOP_PROBE, REPORT_TITLE, WindowTestCase, main, near

STARTUP_FAILURE = 1  # the exit status after a start-up failure


def mostly_background(image, region):
    x0, y0, x1, y1 = region
    return image.count(region, lambda rgb: near(rgb, BACKGROUND)) > 0.5 * (x1 - x0) * (y1 - y0)


class Shell(WindowTestCase):
    def window_region(self, window, inset=0):
        x, y, width, height = self.screen.window_geometry(window)
        return x + inset, y + inset, x + width - inset, y + height - inset

    def test_window_is_800_by_600_and_shows_the_background(self):
        game = self.start_game()
        window = game.wait_for_window()
        _, _, width, height = self.screen.window_geometry(window)
        self.assertEqual((width, height), (800, 600))
        x, y, _, _ = self.window_region(window)
        centre = (x + 200, y + 150, x + 600, y + 450)
        self.wait_for_frame(lambda image: mostly_background(image, centre))
        self.assertIsNone(game.report(), "a clean start shows no report")

    def wait_until_running(self, game):
        """The game's window, once the main loop has drawn a frame into it."""
        window = game.wait_for_window()
        x, y, _, _ = self.window_region(window)
        self.wait_for_frame(lambda image: mostly_background(image, (x + 200, y + 150, x + 600, y + 450)))
        return window

    def test_escape_ends_the_process_with_status_0(self):
        game = self.start_game()
        self.wait_until_running(game)
        self.screen.press_key("Escape")
        self.assertEqual(game.wait_for_exit(), 0, "ESC must end the program, with status 0")

    def test_the_close_message_ends_the_process_with_status_0(self):
        game = self.start_game()
        window = self.wait_until_running(game)
        self.screen.send_close_request(window)
        self.assertEqual(game.wait_for_exit(), 0, "WM_DELETE_WINDOW must end the program, with status 0")

    def test_missing_default_font_reports_and_never_draws_a_frame_and_exits_non_zero(self):
        tree = self.scratch_tree()
        os.remove(os.path.join(tree, "data", "lacuna.ttf"))
        game = self.start_game(cwd=tree)
        box = self.screen.find_window(REPORT_TITLE)
        title, heading, text = game.report()
        self.assertEqual((title, heading), (REPORT_TITLE, REPORT_TITLE))
        expected = ("The following errors occured during startup:\n\n"
                    "could not load font \"data/lacuna.ttf\"\n"
                    "\nThe program must now be shut down.")
        self.assertEqual(text, expected)

        window = self.screen.find_window("^tank$")
        x, y, width, height = self.screen.window_geometry(window)
        box_x, box_y, box_width, box_height = self.screen.window_geometry(box)
        # Look at the part of the game window the box does not cover.
        uncovered = (max(x, box_x + box_width), max(y, box_y + box_height), x + width, y + height)
        image = self.screen.screenshot()
        self.assertEqual(image.count(uncovered, lambda rgb: near(rgb, BACKGROUND)), 0,
                         "a frame was drawn behind the report")

        # OK sits in the bottom row of the box.
        self.screen.xdotool("mousemove", box_x + box_width - 45, box_y + box_height - 22, "click", "1")
        if game.wait_for_exit(3.0) is None:
            # Buttons are laid out by the toolkit: try along the bottom row.
            for dx in range(20, box_width, 30):
                self.screen.xdotool("mousemove", box_x + dx, box_y + box_height - 22, "click", "1")
                if game.wait_for_exit(0.5) is not None:
                    break
        self.assertEqual(game.wait_for_exit(), STARTUP_FAILURE, "the program must end once the report is closed")
        image = self.screen.screenshot()
        self.assertEqual(image.count((0, 0, image.width, image.height), lambda rgb: near(rgb, BACKGROUND, 3)),
                         0, "no frame drawn, not even after the box")
        self.assertEqual(game.standard_error(), expected + "\n", "the same report on standard error")

    def test_a_frame_too_large_for_the_renderer_is_a_startup_failure(self):
        game = self.start_game(command=[LOOP_PROBE, "--size", "30000"], window_name="loop_probe")
        self.assertEqual(game.wait_for_exit(), STARTUP_FAILURE)
        self.assertIn("Error creating the frame bitmap.\n", game.standard_error())

    def test_the_title_a_game_names_is_the_windows_from_the_start(self):
        game = self.start_game(command=[LOOP_PROBE, "--title", "GRID DEFENCE"], window_name="GRID DEFENCE")
        window = game.wait_for_window()
        self.assertEqual(self.screen.xdotool("getwindowname", window), "GRID DEFENCE")

    def test_audio_unavailable_is_reported_in_order(self):
        game = self.start_game(extra_env=self.without_audio())
        box = self.screen.find_window(REPORT_TITLE)
        _, _, text = game.report()
        lines = text.split("\n")
        self.assertEqual(lines[2:4], ["Could not initialize audio.", "Could not reserve sample memory."])
        self.assertEqual(lines[-1], "The program must now be shut down.")
        box_x, box_y, box_width, box_height = self.screen.window_geometry(box)
        self.screen.xdotool("mousemove", box_x + box_width - 45, box_y + box_height - 22, "click", "1")
        game.wait_for_exit(3.0)

    def test_silent_audio_device_starts_without_a_report(self):
        game = self.start_game(extra_env={"ALSOFT_DRIVERS": "null"})
        self.wait_until_running(game)
        self.assertIsNone(game.report())
        self.assertTrue(game.running())

    def test_without_a_display_the_report_goes_to_standard_error_and_the_exit_is_non_zero(self):
        # No display named at all, and one that names no server.
        unused = next(n for n in range(900, 2000) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))
        for display in (None, f":{unused}"):
            game = self.start_game(extra_env={"DISPLAY": display})
            self.assertEqual(game.wait_for_exit(), STARTUP_FAILURE, f"DISPLAY={display}")
            self.assertIn("Error creating the display.\n", game.standard_error(), f"DISPLAY={display}")


if __name__ == "__main__":
    main()
