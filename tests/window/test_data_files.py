"""Data files that are no files: a named pipe where an image, a font or the sound
should be is answered like a missing file, reported or replaced, never waited on."""

import os

from harness import REPORT_TITLE, WindowTestCase, game_drawn, main


class DataFiles(WindowTestCase):
    def test_named_pipes_in_place_of_data_files_are_answered_like_missing_files(self):
        tree = self.scratch_tree()

        def make_pipe(name):
            path = os.path.join(tree, "data", name)
            os.remove(path)
            os.mkfifo(path)

        # Read through the bins: the game plays on with a placeholder and the default font.
        make_pipe("images/tank.png")
        make_pipe("fonts/StencilStd.otf")
        game = self.start_game(cwd=tree)
        window = game.wait_for_window()
        x, y, _, _ = self.screen.window_geometry(window)
        self.wait_for_frame(lambda image: game_drawn(image, x, y), message="the game never drew a frame")
        self.screen.press_key("Escape")
        self.assertEqual(game.wait_for_exit(), 0)

        # A placeholder: the start-up report names it.
        make_pipe("missing_sample.wav")
        game = self.start_game(cwd=tree)
        self.screen.find_window(REPORT_TITLE)
        _, _, text = game.report()
        self.assertIn('\ncould not load sample "data/missing_sample.wav"\n', text)


if __name__ == "__main__":
    main()
