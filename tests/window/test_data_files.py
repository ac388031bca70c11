"""A named pipe in place of a data file is answered like a missing file, never waited on."""

import os

from harness import REPORT_TITLE, WindowTestCase, game_drawn, main


class DataFiles(WindowTestCase):
    def test_named_pipes_in_place_of_data_files_are_answered_like_missing_files(self):
        tree = self.scratch_tree()

        def make_pipe(name):
            os.remove(os.path.join(tree, "data", name))
            os.mkfifo(os.path.join(tree, "data", name))

        # Read through the bins: a placeholder and the default font stand in, the game plays on.
        make_pipe("images/tank.png")
        make_pipe("fonts/StencilStd.otf")
        game = self.start_game(cwd=tree)
        window = game.wait_for_window()
        x, y, _, _ = self.screen.window_geometry(window)
        self.wait_for_frame(lambda image: game_drawn(image, x, y), message="the game never drew a frame")
        self.screen.press_key("Escape")
        self.assertEqual(game.wait_for_exit(), 0)
        # A placeholder: reported at start-up.
        make_pipe("missing_sample.wav")
        game = self.start_game(cwd=tree)
        self.screen.find_window(REPORT_TITLE)
        self.assertIn('\ncould not load sample "data/missing_sample.wav"\n', game.report()[2])


if __name__ == "__main__":
    main()
